#pragma once
// The one way the program shows a system message box: text, caption, icon and
// buttons in, the button pressed out. Every module goes through MessageBox()
// so that tests can intercept the boxes with a CScopedMessageBoxHook instead
// of a window that would wait for a click.

#include <QString>
#include <functional>
#include <string_view>
#include <vector>

class QWidget;

namespace platform {

enum class MsgIcon { None, Information, Warning, Error, Question };

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

// The values keep the numbers the program's callers compare with.
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxCall {
    QWidget* parent = nullptr;
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// The answer of a box closed with its default button: OK, Yes or Retry.
MsgResult defaultAnswer(MsgButtons buttons);

// Shows a modal message box and returns the button pressed. Closing the box
// without a button gives Cancel where there is one, else the default answer.
// With a hook installed nothing is shown and the hook answers. Without a
// widget application (a console tool) the text goes to stderr and the
// default answer is returned.
MsgResult MessageBox(QWidget* parent, const QString& text, const QString& caption = {},
                     MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);

// The same for texts held as GBK bytes, as the program keeps them.
MsgResult MessageBoxGbk(QWidget* parent, std::string_view gbkText, std::string_view gbkCaption = {},
                        MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);

// While one exists, MessageBox() shows nothing: each call is recorded and
// answered with the next scripted answer, or with the default answer of its
// buttons once the script is used up. Hooks nest; the newest one answers.
// For use on the UI thread.
class CScopedMessageBoxHook {
public:
    CScopedMessageBoxHook();
    ~CScopedMessageBoxHook();
    CScopedMessageBoxHook(const CScopedMessageBoxHook&) = delete;
    CScopedMessageBoxHook& operator=(const CScopedMessageBoxHook&) = delete;

    // Queues the answer for the next unanswered call.
    void answer(MsgResult result) { m_script.push_back(result); }
    // Runs for every call after it is recorded, e.g. to act like the user
    // while the box would be open (before the script is consulted).
    void onCall(std::function<void(const MessageBoxCall&)> callback) {
        m_callback = std::move(callback);
    }

    const std::vector<MessageBoxCall>& calls() const { return m_calls; }
    std::size_t count() const { return m_calls.size(); }
    const MessageBoxCall& last() const { return m_calls.back(); }
    void clear() { m_calls.clear(); }

    // Used by MessageBox().
    MsgResult handle(const MessageBoxCall& call);

private:
    CScopedMessageBoxHook* m_previous;
    std::vector<MessageBoxCall> m_calls;
    std::vector<MsgResult> m_script;
    std::size_t m_nextAnswer = 0;
    std::function<void(const MessageBoxCall&)> m_callback;
};

} // namespace platform
