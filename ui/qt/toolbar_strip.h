#pragma once

#include <QWidget>
#include <map>
#include <optional>

#include "core/window_ops.h"

class QToolButton;

namespace ruror::qt {

// A toolbar that is one stop in the tab order, as the handlers' keyboard
// rules for toolbars ask (main_window/toolbar_marks.h): its buttons take no
// focus themselves; the strip marks one of them with a focus frame while it
// has the focus, moves the mark with Left and Right, and presses the marked
// button with Space. Enter is the handlers' own.
class ToolbarStrip final : public QWidget {
public:
    ToolbarStrip(Toolbar toolbar, QWidget* parent);

    void addButton(int number, QToolButton* button);
    // The marked button's number while the strip has the focus.
    std::optional<int> marked() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mark(int number);
    bool enabled(int number) const;

    Toolbar toolbar_;
    std::map<int, QToolButton*> buttons_;
    int marked_ = 0;
};

}  // namespace ruror::qt
