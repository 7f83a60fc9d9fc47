#include "manager/Help.h"

#include "Version.h"
#include "text/Catalogue.h"

namespace {

constexpr const char* kHelp =
    "便签直接显示在桌面上，只显示文字，文字以外的地方让鼠标点击穿过。\n\n"
    "移动便签：按住文字拖动。\n"
    "改变大小：按住便签的左右边缘或上下边缘拖动。\n"
    "快速设置：双击文字，可以修改文字、颜色和字体，隐藏便签，置顶，开机自启。\n"
    "管理界面：列出所有便签，可以新建、修改、删除、显示或隐藏便签。\n"
    "托盘图标：双击（有的桌面单击）打开管理界面，右键单击打开菜单。\n"
    "锁定便签：所有便签让鼠标点击穿过，直到在托盘菜单或管理界面中解锁。\n"
    "恢复删除的便签：托盘菜单中有最近删除的便签，选择一个就回到原来的地方。";

}  // namespace

std::string HelpText(UiLanguage language) {
    return InLanguage(language, kHelp) + "\n\nSkyslate2 " SKYSLATE_VERSION;
}

void ShowHelp(const NoteManager& notes) { notes.MessagesToUse().ShowHelp(HelpText(notes.Language())); }
