#include "ui/qt/toolbar_strip.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

#include "main_window/toolbar_marks.h"

namespace ruror::qt {

ToolbarStrip::ToolbarStrip(Toolbar toolbar, QWidget* parent) : QWidget(parent), toolbar_(toolbar) {
    setFocusPolicy(Qt::TabFocus);
}

void ToolbarStrip::addButton(int number, QToolButton* button) {
    button->setFocusPolicy(Qt::NoFocus);
    button->installEventFilter(this);
    buttons_[number] = button;
}

std::optional<int> ToolbarStrip::marked() const {
    if (!hasFocus() || marked_ == 0) return std::nullopt;
    return marked_;
}

bool ToolbarStrip::enabled(int number) const {
    const auto found = buttons_.find(number);
    return found != buttons_.end() && found->second->isEnabled();
}

void ToolbarStrip::mark(int number) {
    marked_ = number;
    // The strip is named after its marked button, which screen readers read.
    if (const auto found = buttons_.find(number); found != buttons_.end())
        setAccessibleName(found->second->accessibleName());
    for (const auto& [each, button] : buttons_) button->update();
}

void ToolbarStrip::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    mark(firstMark(toolbar_, [this](int number) { return enabled(number); }));
}

void ToolbarStrip::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    for (const auto& [each, button] : buttons_) button->update();
}

void ToolbarStrip::keyPressEvent(QKeyEvent* event) {
    const auto isEnabled = [this](int number) { return enabled(number); };
    switch (event->key()) {
        case Qt::Key_Left: mark(nextMark(toolbar_, marked_, -1, isEnabled)); return;
        case Qt::Key_Right: mark(nextMark(toolbar_, marked_, 1, isEnabled)); return;
        case Qt::Key_Space:
            if (enabled(marked_)) buttons_.at(marked_)->click();
            return;
        default: QWidget::keyPressEvent(event);
    }
}

// The marked button draws itself, then its focus frame on top.
bool ToolbarStrip::eventFilter(QObject* watched, QEvent* event) {
    const auto found = buttons_.find(marked_);
    if (event->type() != QEvent::Paint || !hasFocus() || found == buttons_.end() || watched != found->second)
        return QWidget::eventFilter(watched, event);
    auto* button = static_cast<QToolButton*>(watched);
    button->removeEventFilter(this);
    QCoreApplication::sendEvent(button, event);
    button->installEventFilter(this);
    QStylePainter painter(button);
    QStyleOptionFocusRect frame;
    frame.initFrom(button);
    frame.rect = button->rect().adjusted(2, 2, -2, -2);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
    return true;
}

}  // namespace ruror::qt
