#pragma once
// A linked shader program from vertex and fragment source, or null when the
// context refuses either stage (the caller then draws nothing this frame).

#include <QOpenGLShaderProgram>
#include <memory>

namespace desk::render {

std::unique_ptr<QOpenGLShaderProgram> linkProgram(const char* vertexSource,
                                                  const char* fragmentSource);

} // namespace desk::render
