#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QWidget>
#include <map>
#include <vector>

#include "core/window_ops.h"

class QAbstractButton;
class QLabel;
class QProgressBar;
class QToolButton;

namespace ruror {
class Principal;
namespace window_layout {
struct ControlRow;
}
}  // namespace ruror

namespace ruror::qt {

// The main window on Qt: renders the control table, hands every event to
// the handlers and carries out what they ask through WindowOps.
class PrincipalView final : public QWidget, public WindowOps {
public:
    PrincipalView();
    ~PrincipalView() override;

    // The handlers that receive the window's events from now on.
    void attach(Principal& handlers);
    // Shows the window centred on the screen with the focus in the first field.
    void showCentred();

    // The window's own QWidget calls stay reachable beside the WindowOps
    // ones of the same names.
    using QWidget::isVisible;
    using QWidget::setEnabled;
    using QWidget::setFocus;
    using QWidget::setVisible;

    // WindowOps
    std::string text(Control field) const override;
    void setText(Control field, const std::string& text) override;
    void setSelection(Control field, int start, int length) override;
    void setFocus(Control control) override;
    std::optional<ToolbarButton> markedButton() const override;
    void setEnabled(Control control, bool enabled) override;
    void setButtonEnabled(Toolbar toolbar, int button, bool enabled) override;
    void setVisible(Control control, bool visible) override;
    bool isVisible(Control control) const override;
    int checkState(Control checkBox) const override;
    void setCaptionAndRepaint(Control label, const std::string& caption) override;
    void setCaption(Control label, const std::string& caption) override;
    void setBusyPointer(bool busy) override;
    void setProgress(long long done, long long total) override;
    void setProgressFigures(const std::string& figures) override;
    void processEvents() override;
    void postTabToFocusedControl() override;
    void close() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QWidget* makeControl(const window_layout::ControlRow& item);
    QWidget* makeTextBox(const window_layout::ControlRow& item);
    QWidget* makeCheckBox(const window_layout::ControlRow& item);
    void setBuddies();
    void buildProgressBar();
    void buildToolbarButtons();
    void setTabOrder();
    void nameForScreenReaders();
    QWidget* widget(Control control) const;
    QToolButton* button(Toolbar toolbar, int number) const;

    Principal* handlers_ = nullptr;
    std::map<Control, QWidget*> controls_;
    std::map<std::pair<Toolbar, int>, QToolButton*> buttons_;
    QProgressBar* progress_ = nullptr;
    QLabel* figures_ = nullptr;
    QElapsedTimer progressPainted_;
    QElapsedTimer eventsProcessed_;
    bool busy_ = false;
    // The controls' own pointers, put back when the window is no longer busy.
    std::vector<std::pair<QWidget*, QCursor>> ownPointers_;
};

}  // namespace ruror::qt
