#pragma once
// The desk shows its few messages (no graphics device, no audio system)
// through this one interface, so that a host or a test can take them over.

#include <QString>

class QWidget;

namespace desk {

enum class MessageIcon { None, Warning, Error };

class IDeskMessageBox {
public:
    virtual ~IDeskMessageBox() = default;
    // Modal; returns when the user has closed the box. owner may be null.
    virtual void Show(QWidget* owner, const QString& caption, const QString& text,
                      MessageIcon icon) = 0;
};

// A QMessageBox with an OK button.
class CQtDeskMessageBox : public IDeskMessageBox {
public:
    void Show(QWidget* owner, const QString& caption, const QString& text,
              MessageIcon icon) override;
};

} // namespace desk
