#include "platform/msgbox/MessageBox.h"

#include "platform/text/Gbk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using platform::CScopedMessageBoxHook;
using platform::MessageBox;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

TEST(MessageBoxHook, RecordsEveryCallInsteadOfShowingIt) {
    CScopedMessageBoxHook hook;
    QWidget parent;
    EXPECT_EQ(MessageBox(&parent, QStringLiteral("组件版本不符,请重新下载游戏")), MsgResult::Ok);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Failed to create device"),
                         QStringLiteral("D3D9 Application"), MsgIcon::Error),
              MsgResult::Ok);
    ASSERT_EQ(hook.count(), 2u);
    EXPECT_EQ(hook.calls()[0].parent, &parent);
    EXPECT_EQ(hook.calls()[0].text, QStringLiteral("组件版本不符,请重新下载游戏"));
    EXPECT_TRUE(hook.calls()[0].caption.isEmpty());
    EXPECT_EQ(hook.calls()[0].icon, MsgIcon::None);
    EXPECT_EQ(hook.last().caption, QStringLiteral("D3D9 Application"));
    EXPECT_EQ(hook.last().icon, MsgIcon::Error);
    EXPECT_EQ(hook.last().buttons, MsgButtons::Ok);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), 1); // only `parent`
}

TEST(MessageBoxHook, AnswersFromTheScriptThenWithTheDefaultButton) {
    CScopedMessageBoxHook hook;
    hook.answer(MsgResult::No);
    hook.answer(MsgResult::Cancel);
    EXPECT_EQ(MessageBox(nullptr, "a", {}, MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(MessageBox(nullptr, "b", {}, MsgIcon::None, MsgButtons::OkCancel), MsgResult::Cancel);
    struct Case {
        MsgButtons buttons;
        MsgResult expected;
    };
    const Case defaults[] = {{MsgButtons::Ok, MsgResult::Ok},
                             {MsgButtons::OkCancel, MsgResult::Ok},
                             {MsgButtons::YesNo, MsgResult::Yes},
                             {MsgButtons::YesNoCancel, MsgResult::Yes},
                             {MsgButtons::RetryCancel, MsgResult::Retry},
                             {MsgButtons::AbortRetryIgnore, MsgResult::Abort}};
    for (const Case& c : defaults)
        EXPECT_EQ(MessageBox(nullptr, "c", {}, MsgIcon::None, c.buttons), c.expected);
    EXPECT_EQ(hook.count(), 8u);
}

TEST(MessageBoxHook, NestedHooksAnswerNewestFirstAndRestoreOnExit) {
    CScopedMessageBoxHook outer;
    {
        CScopedMessageBoxHook inner;
        inner.answer(MsgResult::No);
        EXPECT_EQ(MessageBox(nullptr, "inner", {}, MsgIcon::None, MsgButtons::YesNo),
                  MsgResult::No);
        EXPECT_EQ(inner.count(), 1u);
    }
    MessageBox(nullptr, "outer");
    ASSERT_EQ(outer.count(), 1u);
    EXPECT_EQ(outer.last().text, "outer");
}

TEST(MessageBoxHook, CallbackSeesTheCallWhileTheBoxWouldBeOpen) {
    CScopedMessageBoxHook hook;
    int seen = 0;
    hook.onCall([&](const platform::MessageBoxCall& call) {
        ++seen;
        EXPECT_EQ(call.text, "x");
        EXPECT_EQ(hook.count(), 1u);
    });
    MessageBox(nullptr, "x");
    EXPECT_EQ(seen, 1);
}

TEST(MessageBoxHook, GbkTextsAreConvertedForTheBox) {
    CScopedMessageBoxHook hook;
    const std::string text = platform::gbk::fromUtf8("GetSeatNoFromLoc: 无效loc:5");
    const std::string caption = platform::gbk::fromUtf8("台球");
    platform::MessageBoxGbk(nullptr, text, caption, MsgIcon::Warning);
    EXPECT_EQ(hook.last().text, QStringLiteral("GetSeatNoFromLoc: 无效loc:5"));
    EXPECT_EQ(hook.last().caption, QStringLiteral("台球"));
    EXPECT_EQ(hook.last().icon, MsgIcon::Warning);
}

// Without a hook the box is a real QMessageBox; a zero-delay timer plays the
// user and presses a button once the box runs its loop.
MsgResult pressWhenShown(QMessageBox::StandardButton button, QMessageBox::Icon* icon,
                         QString* caption, const std::function<MsgResult()>& show) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *icon = box->icon();
        *caption = box->windowTitle();
        if (button == QMessageBox::NoButton)
            box->reject();
        else
            box->button(button)->click();
    });
    return show();
}

TEST(MessageBoxWidget, ReturnsTheButtonThePlayerPressed) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    EXPECT_EQ(pressWhenShown(QMessageBox::No, &icon, &caption,
                             [] {
                                 return MessageBox(nullptr, "q", "cap", MsgIcon::Question,
                                                   MsgButtons::YesNoCancel);
                             }),
              MsgResult::No);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(caption, "cap");
    EXPECT_EQ(pressWhenShown(QMessageBox::Retry, &icon, &caption,
                             [] {
                                 return MessageBox(nullptr, "r", {}, MsgIcon::Error,
                                                   MsgButtons::RetryCancel);
                             }),
              MsgResult::Retry);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(MessageBoxWidget, ClosingWithoutAButtonCancelsOrConfirms) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    EXPECT_EQ(pressWhenShown(
                  QMessageBox::NoButton, &icon, &caption,
                  [] { return MessageBox(nullptr, "c", {}, MsgIcon::None, MsgButtons::OkCancel); }),
              MsgResult::Cancel);
    EXPECT_EQ(pressWhenShown(QMessageBox::NoButton, &icon, &caption,
                             [] { return MessageBox(nullptr, "o", {}, MsgIcon::Warning); }),
              MsgResult::Ok);
    EXPECT_EQ(icon, QMessageBox::Warning);
}

} // namespace
