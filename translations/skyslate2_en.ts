<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>Skyslate2</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>选择颜色</source>
        <translation>Colour…</translation>
    </message>
    <message>
        <source>选择字体</source>
        <translation>Font…</translation>
    </message>
    <message>
        <source>开机自启</source>
        <translation>Start with login</translation>
    </message>
    <message>
        <source>退出程序</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>管理界面</source>
        <translation>Manager</translation>
    </message>
    <message>
        <source>窗口置顶</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>确认修改</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>增加便签</source>
        <translation>Add note</translation>
    </message>
    <message>
        <source>删除便签</source>
        <translation>Delete note</translation>
    </message>
    <message>
        <source>锁定便签</source>
        <translation>Lock notes</translation>
    </message>
    <message>
        <source>编辑文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>新建便签</source>
        <translation>New note</translation>
    </message>
    <message>
        <source>显示全部便签</source>
        <translation>Show all notes</translation>
    </message>
    <message>
        <source>恢复删除的便签</source>
        <translation>Restore a deleted note</translation>
    </message>
    <message>
        <source>（没有删除的便签）</source>
        <translation>(No deleted notes)</translation>
    </message>
    <message>
        <source>Setting窗口已经打开！</source>
        <translation>The settings of a note are already open!</translation>
    </message>
    <message>
        <source>请至少显示一个窗口！</source>
        <translation>Keep at least one note shown!</translation>
    </message>
    <message>
        <source>请至少保留一个窗口！</source>
        <translation>Keep at least one note!</translation>
    </message>
    <message>
        <source>设置文件保存失败！</source>
        <translation>The notes could not be saved!</translation>
    </message>
    <message>
        <source>便签数量已达上限！</source>
        <translation>No more notes can be added!</translation>
    </message>
    <message>
        <source>程序已在运行！</source>
        <translation>Skyslate2 is already running!</translation>
    </message>
    <message>
        <source>无法打开设置文件夹：</source>
        <translation>Cannot open the notes folder: </translation>
    </message>
    <message>
        <source>设置文件读取失败！
为了不覆盖其中的便签，本次运行不会保存设置。请检查文件后重新启动程序。</source>
        <translation>The notes file could not be read!
So that the notes in it are not overwritten, nothing will be saved while the program runs. Check the file and start the program again.</translation>
    </message>
    <message>
        <source>……（便签太长，这里只显示开头，不能修改。）</source>
        <translation>… (This note is too long to edit: only its beginning is shown.)</translation>
    </message>
    <message>
        <source>开机自启原先打开的是另一个文件夹的便签，现在改为打开这个文件夹的便签。</source>
        <translation>Start with login used to open the notes of another folder; it now opens the notes of this folder.</translation>
    </message>
    <message>
        <source>设置文件读取失败，为了不覆盖其中的便签，本次运行不保存设置。</source>
        <translation>The notes file could not be read: so that its notes are not overwritten, nothing is saved while the program runs.</translation>
    </message>
    <message>
        <source>本次运行的便签窗口已经用完，有的便签要重新启动程序后才能显示。</source>
        <translation>This run has used up its note windows: some notes show only after the program is started again.</translation>
    </message>
    <message>
        <source>（其他程序或设备删除）</source>
        <translation>(removed by another program or device)</translation>
    </message>
    <message>
        <source>欢迎使用桌面文字便签</source>
        <translation>Welcome to Skyslate2 desktop notes</translation>
    </message>
    <message>
        <source>——Skyslate2 敬上</source>
        <translation>— yours, Skyslate2</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Skyslate2（便签已锁定）</source>
        <translation>Skyslate2 (notes locked)</translation>
    </message>
    <message>
        <source>Skyslate2 在这里</source>
        <translation>Skyslate2 is here</translation>
    </message>
    <message>
        <source>右键单击这个图标打开菜单：新建便签、锁定便签、帮助和退出。</source>
        <translation>Right-click this icon for the menu: a new note, locking the notes, help and exit.</translation>
    </message>
    <message>
        <source>便签直接显示在桌面上，只显示文字，文字以外的地方让鼠标点击穿过。

移动便签：按住文字拖动。
改变大小：按住便签的左右边缘或上下边缘拖动。
快速设置：双击文字，可以修改文字、颜色和字体，隐藏便签，置顶，开机自启。
管理界面：列出所有便签，可以新建、修改、删除、显示或隐藏便签。
托盘图标：双击（有的桌面单击）打开管理界面，右键单击打开菜单。
锁定便签：所有便签让鼠标点击穿过，直到在托盘菜单或管理界面中解锁。
恢复删除的便签：托盘菜单中有最近删除的便签，选择一个就回到原来的地方。</source>
        <translation>Notes show straight on the desktop, only their text; clicks anywhere else go through to what lies beneath.

Move a note: press on its text and drag.
Resize it: press near its left, right, top or bottom edge and drag.
Quick settings: double-click the text to edit it, pick its colour and font, hide the note, keep it on top or start with login.
The manager: every note in a list, to add, edit, delete, show or hide notes.
The tray icon: double-click (a single click on some desktops) for the manager, right-click for the menu.
Lock the notes: every note lets the mouse through until unlocked from the tray menu or the manager.
Restore a deleted note: the tray menu lists the notes deleted lately; choose one and it comes back where it was.</translation>
    </message>
    <message>
        <source>Skyslate2 帮助</source>
        <translation>Skyslate2 Help</translation>
    </message>
</context>
</TS>
