#include "desk/FolderEditor.h"

#include "data/Recordset.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EnterAsTab.h"

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

FolderEditor::FolderEditor(const QString &id, const QString &description, const QString &path,
                                         QWidget *parent)
    : QDialog(parent)
    , m_descriptionEdit(new QLineEdit(description))
    , m_pathEdit(new QLineEdit(path))
    , m_chooseFolderButton(new QToolButton)
    , m_saveButton(new QPushButton(tr("选中(&S)")))
    , m_cancelButton(new QPushButton(tr("退出(&X)")))
    , m_id(id)
{
    setWindowTitle(tr("新增/修改常用文件夹"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_chooseFolderButton->setText(QStringLiteral("…"));
    m_chooseFolderButton->setToolTip(tr("选择文件夹路径"));
    m_descriptionEdit->setMinimumWidth(360);
    for (QPushButton *button : {m_saveButton, m_cancelButton})
        button->setAutoDefault(false);

    auto *pathRow = new QHBoxLayout;
    pathRow->setSpacing(2);
    pathRow->addWidget(m_pathEdit, 1);
    pathRow->addWidget(m_chooseFolderButton);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("文件夹说明")), 0, 0);
    fields->addWidget(m_descriptionEdit, 0, 1);
    fields->addWidget(new QLabel(tr("文件夹路径")), 1, 0);
    fields->addLayout(pathRow, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    new EnterAsTabFilter(this);
    m_pathEdit->installEventFilter(this);
    connect(m_chooseFolderButton, &QToolButton::clicked, this, &FolderEditor::chooseFolder);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_saveButton, &QPushButton::clicked, this, [this] {
        if (saveRecord())
            accept();
    });
    m_descriptionEdit->setFocus();
}

bool FolderEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pathEdit && event->type() == QEvent::MouseButtonDblClick) {
        chooseFolder();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FolderEditor::chooseFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (const std::optional<QString> chosen = platform::prompter().existingFolder(tr("选择文件夹"), desktop))
        m_pathEdit->setText(*chosen);
}

bool FolderEditor::saveRecord()
{
    auto refuse = [](const QString &text, QLineEdit *field) {
        platform::prompter().message(text, platform::Prompter::Icon::Warning);
        field->setFocus();
        return false;
    };
    const QString path = m_pathEdit->text();
    if (m_descriptionEdit->text().isEmpty())
        return refuse(tr("文件夹说明没有录入！"), m_descriptionEdit);
    if (path.isEmpty())
        return refuse(tr("文件夹路径没有指定！"), m_pathEdit);
    // A relative path would be found or not depending on where the program was started.
    const QFileInfo folder(path);
    if (!folder.isAbsolute() || !folder.isDir())
        return refuse(tr("选定的文件夹路径不存在或已经被删除！"), m_pathEdit);

    Recordset row;
    bool stored = row.open(QStringLiteral("Select * from TFolder where ID=?"), {m_id.toLongLong()});
    if (stored) {
        if (row.isEmpty())
            row.append();
        stored = row.set(QStringLiteral("FolderName"), m_descriptionEdit->text())
                 && row.set(QStringLiteral("FolderPath"), path) && row.post();
    }
    if (!stored) {
        platform::prompter().message(tr("存储数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    m_saved = true;
    return true;
}

bool editFolder(const QString &id, const QString &description, const QString &path)
{
    FolderEditor window(id, description, path);
    platform::execModal(window);
    return window.saved();
}
