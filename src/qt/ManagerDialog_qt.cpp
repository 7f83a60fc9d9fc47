#include "qt/ManagerDialog_qt.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "manager/Help.h"
#include "qt/Dialogs_qt.h"
#include "qt/Texts_qt.h"


namespace {

QPushButton* Button(const char* text, QWidget* parent) {
    auto* button = new QPushButton(Ui(text), parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CSkyslate2Dlg::CSkyslate2Dlg()
    : QDialog(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                           Qt::WindowStaysOnTopHint) {
    setWindowTitle("SettingManager");
    BuildLayout();
}

// Laid out like the Windows template: the note list on the left with add and delete below it, the
// text on the right with the pickers, the two check boxes and confirm and cancel below, close on top.
void CSkyslate2Dlg::BuildLayout() {
    edit_ = new QPlainTextEdit(this);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setTabChangesFocus(true);  // Tab moves on, as in the Windows dialogs
    QPushButton* confirm = Button("确认修改", this);
    QPushButton* color = Button("选择颜色", this);
    QPushButton* font = Button("选择字体", this);
    autoStart_ = new QCheckBox(Ui("开机自启"), this);
    QPushButton* close = Button("关闭", this);
    list_ = new QTreeWidget(this);
    list_->setColumnCount(1);
    list_->setHeaderLabels({"Text List"});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    QPushButton* cancel = Button("取消", this);
    QPushButton* add = Button("增加便签", this);
    QPushButton* remove = Button("删除便签", this);
    topMost_ = new QCheckBox(Ui("窗口置顶"), this);
    lock_ = new QCheckBox(Ui("锁定便签"), this);  // also where there is no tray
    QPushButton* help = Button("帮助", this);

    auto* left = new QVBoxLayout;
    left->addWidget(list_, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    left->addLayout(listButtons);

    auto* right = new QGridLayout;
    auto* caption = new QLabel(Ui("编辑文本"), this);
    right->addWidget(caption, 0, 0, 1, 2);
    right->addWidget(close, 0, 2, Qt::AlignRight);
    right->addWidget(edit_, 1, 0, 1, 3);
    right->addWidget(color, 2, 0);
    right->addWidget(font, 2, 1);
    right->addWidget(autoStart_, 2, 2);
    right->addWidget(confirm, 3, 0);
    right->addWidget(cancel, 3, 1);
    right->addWidget(topMost_, 3, 2);
    right->addWidget(help, 4, 0);
    right->addWidget(lock_, 4, 2);
    right->setRowStretch(1, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
    resize(560, 360);

    setTabOrder(edit_, confirm);
    setTabOrder(confirm, color);
    setTabOrder(color, font);
    setTabOrder(font, autoStart_);
    setTabOrder(autoStart_, close);
    setTabOrder(close, list_);
    setTabOrder(list_, cancel);
    setTabOrder(cancel, add);
    setTabOrder(add, remove);
    setTabOrder(remove, topMost_);
    setTabOrder(topMost_, lock_);
    setTabOrder(lock_, help);

    connect(confirm, &QPushButton::clicked, this, [this] { presenter_->ConfirmChanges(EditText()); });
    connect(color, &QPushButton::clicked, this, [this] { presenter_->PickColor(); });
    connect(font, &QPushButton::clicked, this, [this] { presenter_->PickFont(); });
    connect(close, &QPushButton::clicked, this, [this] { notes_->ExitProgram(); });
    connect(cancel, &QPushButton::clicked, this, [this] { presenter_->HideManager(); });
    connect(add, &QPushButton::clicked, this, [this] { presenter_->AddNote(); });
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(*notes_); });
    connect(remove, &QPushButton::clicked, this, [this] { presenter_->DeleteNote(); });
    connect(autoStart_, &QCheckBox::clicked, this, [this](bool checked) { presenter_->ApplyAutoStart(checked); });
    connect(topMost_, &QCheckBox::clicked, this, [this](bool checked) { presenter_->ApplyTopMost(checked); });
    connect(lock_, &QCheckBox::clicked, this, [this](bool checked) { presenter_->ApplyLock(checked); });
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        presenter_->OnNoteListCheck(list_->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) presenter_->SelectNote(list_->indexOfTopLevelItem(item));
    });
}

void CSkyslate2Dlg::Attach(ManagerPresenter& presenter, NoteManager& notes) {
    presenter_ = &presenter;
    notes_ = &notes;
}

void CSkyslate2Dlg::reject() {
    if (presenter_) presenter_->OnManagerKey(ManagerKey::Escape);
}

void CSkyslate2Dlg::keyPressEvent(QKeyEvent* event) {
    if (presenter_ && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        presenter_->OnManagerKey(ManagerKey::Enter);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSkyslate2Dlg::SetEditText(const EditableText& text) {
    edit_->setPlainText(EditContent(text));
    edit_->setReadOnly(!text.editable);
}

std::string CSkyslate2Dlg::EditText() const { return edit_->toPlainText().toStdString(); }

void CSkyslate2Dlg::SetAutoStartCheck(bool checked) { autoStart_->setChecked(checked); }

void CSkyslate2Dlg::SetLockCheck(bool checked) { lock_->setChecked(checked); }

void CSkyslate2Dlg::SetTopMostCheck(bool checked) { topMost_->setChecked(checked); }

void CSkyslate2Dlg::InsertListRow(int index, const std::string& label, bool checked) {
    auto* item = new QTreeWidgetItem({QString::fromStdString(label)});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    list_->insertTopLevelItem(index, item);
}

void CSkyslate2Dlg::SetListRowText(int index, const std::string& label) {
    if (QTreeWidgetItem* item = list_->topLevelItem(index)) item->setText(0, QString::fromStdString(label));
}

void CSkyslate2Dlg::SetListCheck(int index, bool checked) {
    if (QTreeWidgetItem* item = list_->topLevelItem(index)) item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void CSkyslate2Dlg::DeleteListRow(int index) { delete list_->takeTopLevelItem(index); }

void CSkyslate2Dlg::SelectListRow(int index) {
    if (QTreeWidgetItem* item = list_->topLevelItem(index)) {
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
}

void CSkyslate2Dlg::ReadyForTyping() {
    edit_->setFocus();
    edit_->selectAll();
}

void CSkyslate2Dlg::ShowManager(bool visible) {
    if (visible && !placed_) {
        CenterOnScreen(*this);
        placed_ = true;
    }
    setVisible(visible);
    if (visible) {
        raise();
        activateWindow();
        edit_->setFocus();  // the manager opens on a note: its text is what one edits
    }
}
