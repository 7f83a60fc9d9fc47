#pragma once

class QWidget;

// What the program's dialogs share.

// Puts a dialog in the middle of the screen it is on (the manager is hidden, so not over its parent).
void CenterOnScreen(QWidget& dialog);
