#include "platform/msgbox/MessageBox.h"

#include "platform/text/Gbk.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>

namespace platform {

namespace {

CScopedMessageBoxHook* g_hook = nullptr;

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton qtDefaultButton(MsgButtons buttons) {
    switch (defaultAnswer(buttons)) {
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::Retry:
        return QMessageBox::Retry;
    default:
        return QMessageBox::Ok;
    }
}

bool hasCancel(MsgButtons buttons) {
    return buttons == MsgButtons::OkCancel || buttons == MsgButtons::YesNoCancel ||
           buttons == MsgButtons::RetryCancel;
}

MsgResult fromQt(int button, MsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Abort:
        return MsgResult::Abort;
    case QMessageBox::Retry:
        return MsgResult::Retry;
    case QMessageBox::Ignore:
        return MsgResult::Ignore;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        // Closed by the window manager or Escape without a Cancel button.
        return hasCancel(buttons) ? MsgResult::Cancel : defaultAnswer(buttons);
    }
}

} // namespace

MsgResult defaultAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgResult::Yes;
    case MsgButtons::RetryCancel:
        return MsgResult::Retry;
    case MsgButtons::AbortRetryIgnore:
        return MsgResult::Abort;
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        break;
    }
    return MsgResult::Ok;
}

MsgResult MessageBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                     MsgButtons buttons) {
    const MessageBoxCall call{parent, text, caption, icon, buttons};
    if (g_hook != nullptr)
        return g_hook->handle(call);

    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s%s%s\n", qPrintable(caption), caption.isEmpty() ? "" : ": ",
                     qPrintable(text));
        return defaultAnswer(buttons);
    }

    // The box may outlive its parent while it runs its own event loop, so it
    // is watched rather than owned by the stack frame.
    QPointer<QMessageBox> box =
        new QMessageBox(qtIcon(icon), caption, text, qtButtons(buttons), parent);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setDefaultButton(qtDefaultButton(buttons));
    // exec() gives the standard button that was pressed.
    const int pressed = box->exec();
    const MsgResult result = box ? fromQt(pressed, buttons) : defaultAnswer(buttons);
    delete box.data();
    return result;
}

MsgResult MessageBoxGbk(QWidget* parent, std::string_view gbkText, std::string_view gbkCaption,
                        MsgIcon icon, MsgButtons buttons) {
    return MessageBox(parent, gbk::toUnicode(gbkText), gbk::toUnicode(gbkCaption), icon, buttons);
}

CScopedMessageBoxHook::CScopedMessageBoxHook() : m_previous(g_hook) {
    g_hook = this;
}

CScopedMessageBoxHook::~CScopedMessageBoxHook() {
    g_hook = m_previous;
}

MsgResult CScopedMessageBoxHook::handle(const MessageBoxCall& call) {
    m_calls.push_back(call);
    if (m_callback)
        m_callback(call);
    if (m_nextAnswer < m_script.size())
        return m_script[m_nextAnswer++];
    return defaultAnswer(call.buttons);
}

} // namespace platform
