#pragma once

#include <QLineEdit>
#include <functional>

namespace ruror::qt {

// A text field that tells when it has received the focus, after its own
// handling of it, so that what the handler selects is what stays selected.
class FieldEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    std::function<void()> onFocusReceived;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (onFocusReceived) onFocusReceived();
    }
};

}  // namespace ruror::qt
