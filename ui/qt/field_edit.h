#pragma once

#include <QFocusEvent>
#include <QLineEdit>
#include <functional>

#include "core/window_ops.h"

namespace ruror::qt {

// A text field that tells when it has received the focus, and how, after
// its own handling of it, so that what the handler selects is what stays
// selected. The focus given back as the window is made active again (a box
// closed, the desktop switched back) is no move of the user's or the
// program's.
class FieldEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    std::function<void(FocusArrival)> onFocusReceived;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        const bool returned = event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
        if (onFocusReceived) onFocusReceived(returned ? FocusArrival::Returned : FocusArrival::Moved);
    }
};

}  // namespace ruror::qt
