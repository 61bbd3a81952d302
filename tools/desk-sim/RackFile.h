#pragma once
// A rack as a JSON file: sixteen ball objects in ball order, either as a bare
// array or as the "balls" array of an object (so desk-sim's own output can be
// fed back). Each ball has integer "x" and "y" in interface units, within the
// window's view of the world, and optionally "index" (its position in the
// array), "status" (0, 1 or 2) and "rotation" (twelve interface integers).

#include "desk/model/SphereRecords.h"

#include <string>

namespace desksim {

// Returns false with a one-line reason when the text is no such rack.
bool parseRack(const std::string& json, desk::SphereRecords& out, std::string& error);

// Reads at most a megabyte; false with a reason when the file cannot be read.
bool readRackFile(const std::string& path, std::string& text, std::string& error);

} // namespace desksim
