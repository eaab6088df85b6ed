#include "ui/qt/principal_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QToolButton>
#include <limits>

#include "main_window/control_table.h"
#include "main_window/messages.h"
#include "main_window/principal.h"
#include "ui/qt/field_edit.h"
#include "ui/qt/toolbar_strip.h"
#include "ui/qt/window_font.h"

// The icons are built into a static library, whose resources are not
// registered by themselves.
static void registerIcons() { Q_INIT_RESOURCE(icons); }

namespace ruror::qt {
namespace {

using namespace window_layout;

QString qText(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
std::string stdText(const QString& text) { return text.toUtf8().toStdString(); }

QRect pixelRect(const ControlRow& item) {
    return QRect(pixels(item.left), pixels(item.top), pixels(item.width), pixels(item.height));
}

// The character code of a typed key, as the handlers know keys; 0 for a key
// that types nothing.
int keyAscii(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        default: break;
    }
    const QString text = key.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

// A label that sizes itself takes its caption's size; an empty one keeps
// the reference size.
void sizeLabel(QLabel& label, const ControlRow& item) {
    if (label.text().isEmpty()) {
        label.resize(pixels(item.width), pixels(item.height));
    } else {
        label.adjustSize();
    }
}

QWidget* makeBand(QWidget& window, const ControlRow& item) {
    auto* band = new QWidget(&window);
    band->setAutoFillBackground(true);
    band->setBackgroundRole(QPalette::Base);
    band->setGeometry(pixelRect(item));
    return band;
}

QWidget* makeImage(QWidget& window, const ControlRow& item) {
    auto* image = new QLabel(&window);
    // The icon picks its twice-as-large image on a screen scaled by two.
    image->setPixmap(QIcon(":/icons/banner.png").pixmap(QSize(32, 32), window.devicePixelRatioF()));
    image->setAccessibleName(messages::kWindowCaption);
    image->setGeometry(pixelRect(item));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

QWidget* makeLabel(QWidget& window, const ControlRow& item) {
    auto* label = new QLabel(qText(item.caption), &window);
    label->setFont(windowFont(item.bold));
    label->move(pixels(item.left), pixels(item.top));
    sizeLabel(*label, item);
    return label;
}

QWidget* makeLine(QWidget& window, const ControlRow& item) {
    auto* line = new QFrame(&window);
    line->setAutoFillBackground(true);
    line->setBackgroundRole(item.colour == SystemColour::ButtonShadow ? QPalette::Dark : QPalette::Light);
    line->setGeometry(pixels(item.left), pixels(item.top), pixels(item.width - item.left), 1);
    return line;
}

Toolbar toolbarOf(const char* name) { return std::string(name) == "Toolbar1" ? Toolbar::Toolbar1 : Toolbar::Toolbar2; }

const ControlRow& itemOf(Control control) {
    for (const ControlRow& item : kControls)
        if (item.control == control) return item;
    throw std::logic_error("control without a place in the window");
}

}  // namespace

PrincipalView::PrincipalView() {
    registerIcons();
    setObjectName("Principal");
    setWindowTitle(messages::kWindowCaption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));
    setFont(windowFont());
    setWindowIcon(QIcon(":/icons/ruror.ico"));
    buildControls();
    buildToolbarButtons();
    setTabOrder();
    nameForScreenReaders();
}

PrincipalView::~PrincipalView() { setBusyPointer(false); }

void PrincipalView::buildControls() {
    for (const ControlRow& item : kControls) {
        QWidget* made = makeControl(item);
        made->setObjectName(item.name);
        if (item.control) controls_[*item.control] = made;
    }
    setBuddies();
    buildProgressBar();
}

QWidget* PrincipalView::makeControl(const ControlRow& item) {
    switch (item.kind) {
        case Kind::Shape: return makeBand(*this, item);
        case Kind::Image: return makeImage(*this, item);
        case Kind::Label: return makeLabel(*this, item);
        case Kind::Line: return makeLine(*this, item);
        case Kind::TextBox: return makeTextBox(item);
        case Kind::CheckBox: return makeCheckBox(item);
        case Kind::Toolbar: {
            auto* toolbar = new ToolbarStrip(toolbarOf(item.name), this);
            toolbar->setGeometry(pixelRect(item));
            toolbar->installEventFilter(this);
            return toolbar;
        }
    }
    throw std::logic_error("a control of an unknown kind");
}

QWidget* PrincipalView::makeTextBox(const ControlRow& item) {
    auto* field = new FieldEdit(this);
    field->setGeometry(pixelRect(item));
    field->setMaxLength(std::numeric_limits<int>::max());
    const Control control = *item.control;
    field->onFocusReceived = [this, control](FocusArrival arrival) {
        if (!handlers_) return;
        control == Control::Text1 ? handlers_->text1GotFocus(arrival) : handlers_->text2GotFocus(arrival);
    };
    field->installEventFilter(this);
    return field;
}

QWidget* PrincipalView::makeCheckBox(const ControlRow& item) {
    auto* check = new QCheckBox(qText(item.caption), this);
    check->setToolTip(qText(item.tooltip));
    check->setChecked(true);
    // The caption must never be clipped, whatever the font: grow the box
    // where its text needs more room, centred on its place.
    QRect place = pixelRect(item);
    const QSize needed = check->sizeHint();
    place.setWidth(std::max(place.width(), needed.width()));
    if (needed.height() > place.height()) {
        const int grow = needed.height() - place.height();
        place.adjust(0, -grow / 2, 0, (grow + 1) / 2);
    }
    check->setGeometry(place);
    check->installEventFilter(this);
    return check;
}

// A caption's access key moves the focus to the control that follows it in
// tab order.
void PrincipalView::setBuddies() {
    for (const ControlRow& item : kControls) {
        if (item.kind != Kind::Label || item.tabIndex < 0 || !QString(item.caption).contains('&')) continue;
        for (const ControlRow& next : kControls) {
            if (next.tabIndex == item.tabIndex + 1)
                findChild<QLabel*>(item.name)->setBuddy(findChild<QWidget*>(next.name));
        }
    }
}

// A slim bar under the status line, left of Toolbar1, hidden until a copy runs.
void PrincipalView::buildProgressBar() {
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    progress_->setTextVisible(false);
    progress_->setRange(0, 1000);
    const ControlRow& status = itemOf(Control::Label3);
    const int left = pixels(status.left);
    const int right = findChild<QWidget*>("Toolbar1")->x() - 8;
    progress_->setGeometry(left, pixels(status.top + status.height) + 2, right - left, 5);
    progress_->hide();
    // Its figures on the row under it, as far as the bar reaches.
    figures_ = new QLabel(this);
    figures_->setObjectName("ProgressFigures");
    figures_->setGeometry(left, progress_->geometry().bottom() + 2, right - left, fontMetrics().height());
    figures_->hide();
}

// Screen readers announce each field by its caption, and each button by
// what it says or, for the image-only browse button, by its tooltip.
void PrincipalView::nameForScreenReaders() {
    auto plain = [](QString caption) { return caption.remove('&').remove(" :").trimmed(); };
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->buddy()) label->buddy()->setAccessibleName(plain(label->text()));
    }
    auto* check = static_cast<QCheckBox*>(widget(Control::Check1));
    check->setAccessibleName(plain(check->text()));
    check->setAccessibleDescription(check->toolTip());
    widget(Control::Label3)->setAccessibleName("Estado del respaldo");
    progress_->setAccessibleName("Progreso del respaldo");
    figures_->setAccessibleName("Cifras del respaldo");
}

void PrincipalView::buildToolbarButtons() {
    std::map<std::string, int> nextLeft;
    for (const ToolbarButtonRow& item : kToolbarButtons) {
        int& left = nextLeft[item.toolbar];
        if (item.separator) {
            left += item.width;
            continue;
        }
        const Toolbar toolbar = toolbarOf(item.toolbar);
        auto* host = findChild<ToolbarStrip*>(item.toolbar);
        auto* tool = new QToolButton(host);
        host->addButton(item.number, tool);
        tool->setObjectName(QString("%1.Button%2").arg(item.toolbar).arg(item.number));
        tool->setIcon(QIcon(QString(":/icons/%1.png").arg(kImageList[item.image - 1])));
        tool->setIconSize(QSize(16, 16));
        int width = item.width;
        if (item.caption) {
            tool->setText(item.caption);
            tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            // A wider fallback font widens the button rather than clip its caption.
            const int content = 16 + 4 + tool->fontMetrics().horizontalAdvance(item.caption);
            width = std::max(width, content + 8);
        }
        tool->setGeometry(left, 0, width, item.height);
        left += width;
        host->resize(std::max(host->width(), left), host->height());
        if (item.tooltip) tool->setToolTip(qText(item.tooltip));
        tool->setAccessibleName(qText(item.caption ? item.caption : item.tooltip));
        const std::string caption = item.caption ? item.caption : "";
        connect(tool, &QToolButton::clicked, this, [this, toolbar, caption] {
            if (!handlers_) return;
            toolbar == Toolbar::Toolbar1 ? handlers_->toolbar1ButtonClick(caption) : handlers_->toolbar2ButtonClick();
        });
        buttons_[{toolbar, item.number}] = tool;
    }
}

void PrincipalView::setTabOrder() {
    std::vector<std::pair<int, QWidget*>> order;
    for (const ControlRow& item : kControls) {
        if (item.tabIndex < 0) continue;
        if (item.kind == Kind::Toolbar || item.kind == Kind::TextBox || item.kind == Kind::CheckBox) {
            order.emplace_back(item.tabIndex, findChild<QWidget*>(item.name));
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void PrincipalView::attach(Principal& handlers) { handlers_ = &handlers; }

void PrincipalView::showCentred() {
    show();
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    activateWindow();
    controls_.at(Control::Text1)->setFocus(Qt::OtherFocusReason);
}

QWidget* PrincipalView::widget(Control control) const { return controls_.at(control); }

QToolButton* PrincipalView::button(Toolbar toolbar, int number) const { return buttons_.at({toolbar, number}); }

std::string PrincipalView::text(Control field) const { return stdText(static_cast<QLineEdit*>(widget(field))->text()); }

void PrincipalView::setText(Control field, const std::string& text) {
    static_cast<QLineEdit*>(widget(field))->setText(qText(text));
}

// The handlers count characters; a text field counts UTF-16 units, two for
// a character beyond the basic plane (an emoji, say).
void PrincipalView::setSelection(Control field, int start, int length) {
    auto* edit = static_cast<QLineEdit*>(widget(field));
    const QString text = edit->text();
    auto units = [&text](int characters) {
        int unit = 0;
        for (int i = 0; i < characters && unit < text.size(); ++i) unit += text.at(unit).isHighSurrogate() ? 2 : 1;
        return std::min(unit, static_cast<int>(text.size()));
    };
    const int first = units(start);
    edit->setSelection(first, units(start + length) - first);
}

void PrincipalView::setFocus(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

std::optional<ToolbarButton> PrincipalView::markedButton() const {
    for (const Toolbar toolbar : {Toolbar::Toolbar1, Toolbar::Toolbar2}) {
        const auto* strip = findChild<ToolbarStrip*>(toolbar == Toolbar::Toolbar1 ? "Toolbar1" : "Toolbar2");
        if (const std::optional<int> number = strip->marked()) return ToolbarButton{toolbar, *number};
    }
    return std::nullopt;
}

void PrincipalView::setEnabled(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

void PrincipalView::setButtonEnabled(Toolbar toolbar, int number, bool enabled) {
    button(toolbar, number)->setEnabled(enabled);
}

void PrincipalView::setVisible(Control control, bool visible) { widget(control)->setVisible(visible); }

// Whether the control is meant to be seen, also while the window itself is
// not shown yet (during the load).
bool PrincipalView::isVisible(Control control) const { return !widget(control)->isHidden(); }

int PrincipalView::checkState(Control checkBox) const {
    return static_cast<QCheckBox*>(widget(checkBox))->isChecked() ? 1 : 0;
}

void PrincipalView::setCaptionAndRepaint(Control label, const std::string& caption) {
    setCaption(label, caption);
    widget(label)->repaint();
}

void PrincipalView::setCaption(Control label, const std::string& caption) {
    auto* shown = static_cast<QLabel*>(widget(label));
    shown->setText(qText(caption));
    sizeLabel(*shown, itemOf(label));
}

// Over the main window only: the boxes shown meanwhile keep the normal
// pointer. Controls with a pointer of their own (the text fields) show the
// busy one too while it lasts.
void PrincipalView::setBusyPointer(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        setCursor(Qt::WaitCursor);
        for (QWidget* child : findChildren<QWidget*>()) {
            if (!child->testAttribute(Qt::WA_SetCursor)) continue;
            ownPointers_.emplace_back(child, child->cursor());
            child->setCursor(Qt::WaitCursor);
        }
    } else {
        unsetCursor();
        for (auto& [child, pointer] : ownPointers_) child->setCursor(pointer);
        ownPointers_.clear();
    }
}

// Painted at most about 30 times a second, whatever the size of the pieces
// the copy reports in: painting is work taken from the copy.
void PrincipalView::setProgress(long long done, long long total) {
    if (total <= 0) {
        progress_->hide();
        return;
    }
    constexpr qint64 kPaintEveryMs = 33;
    const bool finished = done >= total;
    if (progress_->isVisible() && !finished && progressPainted_.isValid() &&
        progressPainted_.elapsed() < kPaintEveryMs) {
        return;
    }
    progress_->setValue(static_cast<int>(done * 1000 / total));
    progress_->show();
    progressPainted_.start();
}

void PrincipalView::setProgressFigures(const std::string& figures) {
    figures_->setText(QString::fromStdString(figures));
    figures_->setVisible(!figures.empty());
}

// A copy of many small files asks after each one; a hundred times a second
// is more than the eye or the keyboard can tell, and costs the copy little.
void PrincipalView::processEvents() {
    constexpr qint64 kAnswerEveryMs = 10;
    if (eventsProcessed_.isValid() && eventsProcessed_.elapsed() < kAnswerEveryMs) return;
    QCoreApplication::processEvents();
    eventsProcessed_.start();
}

void PrincipalView::postTabToFocusedControl() {
    QWidget* focused = QApplication::focusWidget();
    if (focused && focused->window() == this)
        QCoreApplication::postEvent(focused, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
}

void PrincipalView::close() { QWidget::close(); }

bool PrincipalView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !handlers_) return QWidget::eventFilter(watched, event);
    const int code = keyAscii(*static_cast<QKeyEvent*>(event));
    if (code == 0) return false;
    // The window sees every key before the control that has the focus.
    if (handlers_->keyPress(code)) return true;
    if (watched == widget(Control::Text2)) {
        int nameKey = code;
        handlers_->text2KeyPress(nameKey);
        if (nameKey == 0) return true;
    }
    return false;
}

void PrincipalView::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    if (handlers_) handlers_->unload(cancel);
    cancel ? event->ignore() : event->accept();
}

}  // namespace ruror::qt
