#pragma once

#include <optional>
#include <string>

namespace ruror {

// The controls of the main window that the handlers address by name.
enum class Control {
    Label1_0,  // caption of the location field
    Label1_1,  // caption of the name field
    Text1,     // location
    Text2,     // backup name
    Check1,    // include the data centre
    Label2,    // banner title
    Label3,    // status line
};

enum class Toolbar { Toolbar1, Toolbar2 };

// A button of a toolbar, by its number there (from 1).
struct ToolbarButton {
    Toolbar toolbar;
    int number;
    bool operator==(const ToolbarButton&) const = default;
};

// How the focus came to a control: moved there, by the user (Tab, Enter, a
// click, an access key) or by the program; or given back to it, as a box
// closed or the window was made active again.
enum class FocusArrival { Moved, Returned };

// What the handlers may do to the window. Every call runs on the window's
// thread and takes effect at once; the view behind it never decides anything.
class WindowOps {
public:
    virtual ~WindowOps() = default;

    // Texts are UTF-8.
    virtual std::string text(Control field) const = 0;
    virtual void setText(Control field, const std::string& text) = 0;
    // Start and length count characters, not bytes.
    virtual void setSelection(Control field, int start, int length) = 0;
    virtual void setFocus(Control control) = 0;
    // The button the keyboard marks, while a toolbar has the focus.
    virtual std::optional<ToolbarButton> markedButton() const = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual void setButtonEnabled(Toolbar toolbar, int button, bool enabled) = 0;
    virtual void setVisible(Control control, bool visible) = 0;
    virtual bool isVisible(Control control) const = 0;
    // 0 unticked, 1 ticked.
    virtual int checkState(Control checkBox) const = 0;
    // Sets a label's caption and paints it before returning.
    virtual void setCaptionAndRepaint(Control label, const std::string& caption) = 0;
    // Sets a label's caption; it is painted with the next repaint.
    virtual void setCaption(Control label, const std::string& caption) = 0;
    virtual void setBusyPointer(bool busy) = 0;
    // Shows how far the running backup is: done of total units, in the
    // stage's own units (bytes or files). A total of 0 hides the bar.
    virtual void setProgress(long long done, long long total) = 0;
    // The figures under the progress bar ("37 % · 380,5 MB de 1,0 GB");
    // empty hides them.
    virtual void setProgressFigures(const std::string& figures) = 0;
    // Lets the window repaint and answer pending input.
    virtual void processEvents() = 0;
    // Posts a Tab keystroke to the focused control without waiting for it.
    virtual void postTabToFocusedControl() = 0;
    // Asks the window to close; the unload handler may still keep it open.
    virtual void close() = 0;
};

}  // namespace ruror
