#include "qt/TempSetingDlg_qt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "qt/Texts_qt.h"
#include "qt/Dialogs_qt.h"

TempSetingDlg::TempSetingDlg(QuickSettingsDialogs& dialogs, NoteWindow& note, QWidget* owner)
    : QDialog(owner), settings_(dialogs, note), listing_(dialogs, *this) {
    setWindowTitle("Setting");
    // Blocks only the manager: the notes keep taking input, so another note can open its own dialog.
    setWindowModality(Qt::WindowModal);
    setWindowFlag(Qt::WindowStaysOnTopHint);  // above the notes, which are topmost too
    BuildLayout();
}

// Laid out like the Windows template: the text on top, then two rows of buttons and check boxes.
void TempSetingDlg::BuildLayout() {
    auto* ok = new QPushButton(Ui("确定"), this);
    ok->setDefault(true);
    auto* hide = new QPushButton(Ui("隐藏"), this);
    auto* color = new QPushButton(Ui("选择颜色"), this);
    auto* font = new QPushButton(Ui("选择字体"), this);
    autoStart_ = new QCheckBox(Ui("开机自启"), this);
    auto* exit = new QPushButton(Ui("退出程序"), this);
    auto* manager = new QPushButton(Ui("管理界面"), this);
    edit_ = new QPlainTextEdit(this);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setTabChangesFocus(true);  // Tab moves on, as in the Windows dialogs
    topMost_ = new QCheckBox(Ui("窗口置顶"), this);
    for (QPushButton* button : {hide, color, font, exit, manager}) button->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(edit_, 0, 0, 1, 4);
    layout->addWidget(hide, 1, 0);
    layout->addWidget(color, 1, 1);
    layout->addWidget(font, 1, 2);
    layout->addWidget(autoStart_, 1, 3);
    layout->addWidget(exit, 2, 0);
    layout->addWidget(manager, 2, 1);
    layout->addWidget(ok, 2, 2);
    layout->addWidget(topMost_, 2, 3);
    layout->setRowStretch(0, 1);
    resize(420, 280);

    QWidget* order[] = {ok, hide, color, font, autoStart_, exit, manager, edit_, topMost_};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    ok->setFocus();

    connect(ok, &QPushButton::clicked, this,
            [this] { Finish(settings_.Ok(edit_->toPlainText().toStdString()), QDialog::Accepted); });
    connect(hide, &QPushButton::clicked, this, [this] { Finish(settings_.Hide()); });
    connect(color, &QPushButton::clicked, this, [this] { Finish(settings_.ChooseNoteColor()); });
    connect(font, &QPushButton::clicked, this, [this] { Finish(settings_.ChooseNoteFont()); });
    connect(manager, &QPushButton::clicked, this, [this] { Finish(settings_.OpenManager()); });
    connect(exit, &QPushButton::clicked, this, [this] { Finish(settings_.Exit()); });
    connect(autoStart_, &QCheckBox::clicked, this,
            [this](bool checked) { Finish(settings_.SetAutoStart(checked)); });
    connect(topMost_, &QCheckBox::clicked, this, [this](bool checked) { Finish(settings_.SetTopMost(checked)); });
}

void TempSetingDlg::Run() {
    const QuickSettings::Initial initial = settings_.Init();
    if (!initial.valid) return;
    edit_->setPlainText(EditContent(initial.text));
    edit_->setReadOnly(!initial.text.editable);
    autoStart_->setChecked(initial.autoStart);
    topMost_->setChecked(initial.topMost);
    CenterOnScreen(*this);
    exec();
}

void TempSetingDlg::SetAutoStartCheck(bool checked) { autoStart_->setChecked(checked); }

void TempSetingDlg::reject() { Finish(settings_.Cancel()); }

void TempSetingDlg::Finish(bool ends, int result) {
    if (ends) done(result);
}

void OpenQuickSettings(NoteWindow& note, QuickSettingsDialogs& dialogs, QWidget* owner) {
    dialogs.Open(note, [&] {
        TempSetingDlg dialog(dialogs, note, owner);
        dialog.Run();
    });
}
