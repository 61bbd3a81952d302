#pragma once
// What the connection needs from the window side: dialogs, leaving the table,
// and the handlers that take received messages. Keeping these behind
// interfaces lets the whole connection run in tests without a window.
// Every text is GBK.

#include <cstdint>
#include <span>
#include <string>

namespace protocol {

class IConnectionReporter {
public:
    virtual ~IConnectionReporter() = default;
    // A dialog that closes itself after `ms` milliseconds.
    virtual void ShowTimedDialog(const std::string& text, int ms) = 0;
    // A modal message; returns when the user has closed it.
    virtual void ShowModalMessage(const std::string& text) = 0;
    // The table's single modeless message box, in the mode in which its OK
    // button closes the main window.
    virtual void ShowEndMessage(const std::string& text) = 0;
    // Leave the table: close the main window (asynchronously; the connection
    // must stay alive until the call returns).
    virtual void CloseTable() = 0;
};

// Takes received messages of one group. Returns whether it took the message;
// the connection offers a message to the table handler, then the chat
// handler, then the billiards handler, and asks for the next header after
// the first taker (or after all declined). A handler may call
// ReceiveBytes(0) on the socket to hold delivery back while it runs a shot;
// the connection's request for the next header resumes it.
class IMessageHandler {
public:
    virtual ~IMessageHandler() = default;
    virtual bool HandleMessage(uint16_t type, std::span<const uint8_t> body) = 0;
};

} // namespace protocol
