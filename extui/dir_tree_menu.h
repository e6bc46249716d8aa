// The directory tree's context menu: "展开(&E)", "收缩(&C)" and a separator, followed by the
// shell's own menu for the item under the cursor. While it is open the tree forwards the
// menu-drawing messages to the shell's menu.
#pragma once
#include <windows.h>

namespace ruvelto::extui {

class DirTree;

class DirTreeMenu {
public:
    // Right click: shows the menu for the item under the cursor, if any, and carries out the
    // chosen command.
    static void Show(DirTree& tree);
    // True when the message went to the open shell menu (*result then holds its answer).
    static bool Forward(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

}  // namespace ruvelto::extui
