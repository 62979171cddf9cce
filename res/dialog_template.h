#pragma once

#include <span>
#include <string_view>

namespace quillet::res {

enum class ControlKind {
    Edit,           // one line
    MultiLineEdit,  // several lines; Enter makes a new line
    GroupBox,
    PushButton,
    DefaultPushButton,
    Label,
    CheckBox,
    RadioButton,  // kGroupStart begins a new group of radio buttons
    Frame,        // an empty panel that a dialog paints itself
    TabBar,
    DropDownList,
    TreeView,
    DragEdit,           // one line, text can be dragged out and dropped in
    MultiLineDragEdit,  // several lines, the same
    ListBox,            // lines of text in the order they were added
    ListView,           // lines of a model the dialog gives it
};

enum ControlStyle : unsigned {
    kPlain = 0,
    kAutoHScroll = 1u << 0,  // the text scrolls sideways instead of wrapping
    kBorder = 1u << 1,
    kGroupStart = 1u << 2,
    kWordWrap = 1u << 3,
};

// One control of a dialog, placed in dialog units.
struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string_view text;  // UTF-8
    int x, y, width, height;
    unsigned style = kPlain;
};

struct DialogTemplate {
    int id;
    std::string_view title;  // UTF-8
    int width, height;       // dialog units
    std::span<const ControlTemplate> controls;
};

// The template of that id, or nullptr.
const DialogTemplate* FindDialogTemplate(int id);

}  // namespace quillet::res
