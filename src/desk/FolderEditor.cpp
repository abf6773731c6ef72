#include "desk/TfrmEditACustFolder.h"

#include "data/Recordset.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

TfrmEditACustFolder::TfrmEditACustFolder(const QString &id, const QString &description, const QString &path,
                                         QWidget *parent)
    : QDialog(parent)
    , EditTitle(new QLineEdit(description))
    , EditFolder(new QLineEdit(path))
    , SpeedButton11(new QToolButton)
    , cmdSave(new QPushButton(tr("选中(&S)")))
    , cmdCancel(new QPushButton(tr("退出(&X)")))
    , m_id(id)
{
    setWindowTitle(tr("新增/修改常用文件夹"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SpeedButton11->setText(QStringLiteral("…"));
    SpeedButton11->setToolTip(tr("选择文件夹路径"));
    EditTitle->setMinimumWidth(360);
    for (QPushButton *button : {cmdSave, cmdCancel})
        button->setAutoDefault(false);

    auto *pathRow = new QHBoxLayout;
    pathRow->setSpacing(2);
    pathRow->addWidget(EditFolder, 1);
    pathRow->addWidget(SpeedButton11);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("文件夹说明")), 0, 0);
    fields->addWidget(EditTitle, 0, 1);
    fields->addWidget(new QLabel(tr("文件夹路径")), 1, 0);
    fields->addLayout(pathRow, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    EditFolder->installEventFilter(this);
    connect(SpeedButton11, &QToolButton::clicked, this, &TfrmEditACustFolder::SpeedButton11Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdSave, &QPushButton::clicked, this, [this] {
        if (SaveData())
            accept();
    });
    EditTitle->setFocus();
}

bool TfrmEditACustFolder::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditFolder && event->type() == QEvent::MouseButtonDblClick) {
        SpeedButton11Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmEditACustFolder::SpeedButton11Click()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (const std::optional<QString> chosen = platform::prompter().existingFolder(tr("选择文件夹"), desktop))
        EditFolder->setText(*chosen);
}

bool TfrmEditACustFolder::SaveData()
{
    auto refuse = [](const QString &text, QLineEdit *field) {
        platform::prompter().message(text, platform::Prompter::Icon::Warning);
        field->setFocus();
        return false;
    };
    const QString path = EditFolder->text();
    if (EditTitle->text().isEmpty())
        return refuse(tr("文件夹说明没有录入！"), EditTitle);
    if (path.isEmpty())
        return refuse(tr("文件夹路径没有指定！"), EditFolder);
    // A relative path would be found or not depending on where the program was started.
    const QFileInfo folder(path);
    if (!folder.isAbsolute() || !folder.isDir())
        return refuse(tr("选定的文件夹路径不存在或已经被删除！"), EditFolder);

    Recordset row;
    bool stored = row.open(QStringLiteral("Select * from TFolder where ID=?"), {m_id.toLongLong()});
    if (stored) {
        if (row.isEmpty())
            row.append();
        stored = row.set(QStringLiteral("FolderName"), EditTitle->text())
                 && row.set(QStringLiteral("FolderPath"), path) && row.post();
    }
    if (!stored) {
        platform::prompter().message(tr("存储数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    m_saved = true;
    return true;
}

bool ShowFolderEditor(const QString &id, const QString &description, const QString &path)
{
    TfrmEditACustFolder window(id, description, path);
    platform::execModal(window);
    return window.saved();
}
