#include "work/TfrmEditAWork.h"

#include "data/DbDates.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/TextHelpers.h"
#include "document/DocumentStore.h"
#include "document/RichTextEditor.h"
#include "work/TfrmWorkClass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The subject column holds 50 characters.
constexpr int kTitleLength = 50;

// A picked date or time shows its value while its box is checked and a blank, inactive field
// while not. The date edit needs a date in its format, so the blank is drawn, not formatted.
void showWhen(QDateTimeEdit *picker, bool checked)
{
    picker->setEnabled(checked);
    QPalette palette = picker->parentWidget() ? picker->parentWidget()->palette() : QPalette();
    if (!checked) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Text, Qt::transparent);
    }
    picker->setPalette(palette);
}

} // namespace

TfrmEditAWork::TfrmEditAWork(qint64 id, const QString &presetType, QWidget *parent)
    : QDialog(parent)
    , EditTitle(new QLineEdit)
    , cmbWorkType(new QComboBox)
    , sbEditWorkType(new QToolButton)
    , cmbFInStu(new QComboBox)
    , chkStart(new QCheckBox)
    , dtStart(new QDateEdit)
    , chkEnd(new QCheckBox)
    , dtEnd(new QDateEdit)
    , cmbZY(new QComboBox)
    , dtRec(new QDateTimeEdit)
    , editor(new RichTextEditor(RichTextEditor::Variant::EditorWindow))
    , chkDateHInt(new QCheckBox(tr("事务处理提示")))
    , dtDateHInt(new QDateEdit)
    , dtTImeHint(new QTimeEdit)
    , cmdSave(new QPushButton(tr("保存(&S)")))
    , cmdCancel(new QPushButton(tr("取消(&X)")))
    , m_id(id)
    , m_presetType(presetType)
{
    setWindowTitle(tr("新增/修改事务"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(728, 497);

    auto *body = new QGroupBox(tr("事务详细内容"));
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(4, 4, 4, 4);
    bodyLayout->addWidget(editor);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkDateHInt);
    bottom->addWidget(dtDateHInt);
    bottom->addWidget(dtTImeHint);
    bottom->addStretch(1);
    bottom->addWidget(cmdSave);
    bottom->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields());
    layout->addWidget(body, 1);
    layout->addLayout(bottom);

    connect(cmdSave, &QPushButton::clicked, this, [this] {
        if (SaveData()) {
            m_cancelled = false;
            accept();
        }
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(sbEditWorkType, &QToolButton::clicked, this, [this] {
        ShowWorkTypes();
        fillWorkTypes();
    });
    for (QCheckBox *box : {chkStart, chkEnd, chkDateHInt})
        connect(box, &QCheckBox::toggled, this, &TfrmEditAWork::applyDateDisplay);
    fillWorkTypes();
    EditTitle->setFocus();
}

QWidget *TfrmEditAWork::buildFields()
{
    EditTitle->setMaxLength(kTitleLength);
    cmbFInStu->addItems({tr("未处理"), tr("正在处理"), tr("已完成"), tr("已废弃")});
    cmbZY->addItems({tr("普通"), tr("紧急")});
    sbEditWorkType->setText(QStringLiteral("…"));
    sbEditWorkType->setToolTip(tr("编辑事务类型"));
    for (QDateEdit *picker : {dtStart, dtEnd, dtDateHInt}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    dtTImeHint->setDisplayFormat(QStringLiteral("HH:mm"));
    dtRec->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    dtRec->setReadOnly(true);
    dtRec->setButtonSymbols(QAbstractSpinBox::NoButtons);

    auto dated = [](QCheckBox *box, QDateEdit *picker) {
        auto *row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(box);
        row->addWidget(picker, 1);
        return row;
    };
    auto *typeRow = new QHBoxLayout;
    typeRow->setSpacing(2);
    typeRow->addWidget(cmbWorkType, 1);
    typeRow->addWidget(sbEditWorkType);

    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("事务主题")), 0, 0);
    grid->addWidget(EditTitle, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("事务类型")), 1, 0);
    grid->addLayout(typeRow, 1, 1);
    grid->addWidget(new QLabel(tr("处理状态")), 1, 2);
    grid->addWidget(cmbFInStu, 1, 3);
    grid->addWidget(new QLabel(tr("开始时间")), 2, 0);
    grid->addLayout(dated(chkStart, dtStart), 2, 1);
    grid->addWidget(new QLabel(tr("结束时间")), 2, 2);
    grid->addLayout(dated(chkEnd, dtEnd), 2, 3);
    grid->addWidget(new QLabel(tr("优先级")), 3, 0);
    grid->addWidget(cmbZY, 3, 1);
    grid->addWidget(new QLabel(tr("更新时间")), 3, 2);
    grid->addWidget(dtRec, 3, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return fields;
}

void TfrmEditAWork::fillWorkTypes()
{
    QStringList types;
    appendWorkTypeTitles(types);
    cmbWorkType->clear();
    cmbWorkType->addItems(types);
    cmbWorkType->setCurrentIndex(types.isEmpty() ? -1 : 0);
}

void TfrmEditAWork::applyDateDisplay()
{
    showWhen(dtStart, chkStart->isChecked());
    showWhen(dtEnd, chkEnd->isChecked());
    showWhen(dtDateHInt, chkDateHInt->isChecked());
    showWhen(dtTImeHint, chkDateHInt->isChecked());
    showWhen(dtRec, m_hasUpdateTime);
}

bool TfrmEditAWork::ReadyData()
{
    if (!m_work.open(QStringLiteral("Select * from TWork where ID=?"), {m_id})) {
        platform::prompter().message(tr("读取数据库发生错误"), platform::Prompter::Icon::Error);
        return false;
    }
    const QDateTime now = platform::clock().now();
    if (m_work.isEmpty()) {
        m_work.append();
        cmbFInStu->setCurrentIndex(0);
        dtRec->setDateTime(now);
        const int preset = cmbWorkType->findText(m_presetType, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (preset >= 0)
            cmbWorkType->setCurrentIndex(preset);
        for (QDateEdit *picker : {dtStart, dtEnd, dtDateHInt})
            picker->setDate(now.date());
        dtTImeHint->setTime(now.time());
    } else {
        EditTitle->setText(m_work.text(QStringLiteral("Title")));
        QStringList types;
        for (int i = 0; i < cmbWorkType->count(); ++i)
            types.append(cmbWorkType->itemText(i));
        cmbWorkType->setCurrentIndex(IndexOfItem(types, m_work.text(QStringLiteral("WorkType")), true));
        cmbFInStu->setCurrentIndex(int(m_work.integer(QStringLiteral("FinStu"))) - 1);
        cmbZY->setCurrentIndex(int(m_work.integer(QStringLiteral("ZY"))));
        for (auto [box, picker, field] : {std::tuple{chkStart, dtStart, "TimeStart"}, std::tuple{chkEnd, dtEnd, "TimeEnd"}}) {
            const QVariant stored = m_work.value(QLatin1String(field));
            const bool set = !dbdates::isEmpty(stored);
            box->setChecked(set);
            picker->setDate(set ? dbdates::fromValue(stored).date() : now.date());
        }
        const QVariant updated = m_work.value(QStringLiteral("LastUpTime"));
        m_hasUpdateTime = !dbdates::isEmpty(updated);
        dtRec->setDateTime(m_hasUpdateTime ? dbdates::fromValue(updated) : now);
        const QVariant hint = m_work.value(QStringLiteral("TimeHint"));
        const QDateTime hintTime = dbdates::isEmpty(hint) ? now : dbdates::fromValue(hint);
        dtDateHInt->setDate(hintTime.date());
        dtTImeHint->setTime(hintTime.time());
        chkDateHInt->setChecked(m_work.integer(QStringLiteral("UseTimeHint")) != 0);
        const QByteArray content = m_work.blob(QStringLiteral("Content"));
        if (content.size() > kNoBodyLimit)
            loadDocument(content, *editor->document());
        editor->rve->moveCursor(QTextCursor::Start); // the body opens at its top
    }
    applyDateDisplay();
    return true;
}

bool TfrmEditAWork::SaveData()
{
    if (cmbWorkType->currentIndex() < 0) {
        platform::prompter().message(tr("请务必指定事务分类，以便在后期事务教多时进行分类过滤查询！"),
                                     platform::Prompter::Icon::Warning);
        cmbWorkType->setFocus();
        return false;
    }
    if (EditTitle->text().isEmpty()) {
        platform::prompter().message(tr("请务必输入事务主题，如果内容较简介，则主题可直接作为事务的内容！"),
                                     platform::Prompter::Icon::Warning);
        EditTitle->setFocus();
        return false;
    }
    const bool reminder = chkDateHInt->isChecked();
    // An unchecked date is cleared: the field shows blank, so the item has no such date.
    auto date = [](const QCheckBox *box, const QDateEdit *picker) {
        return box->isChecked() ? QVariant(dbdates::toText(QDateTime(picker->date(), QTime(0, 0)))) : QVariant();
    };
    m_work.edit();
    const bool written =
        m_work.set(QStringLiteral("Title"), EditTitle->text())
        && m_work.set(QStringLiteral("WorkType"), cmbWorkType->currentText())
        && m_work.set(QStringLiteral("FinStu"), cmbFInStu->currentIndex() + 1)
        && m_work.set(QStringLiteral("ZY"), cmbZY->currentIndex())
        && m_work.set(QStringLiteral("UseTimeHint"), reminder ? 1 : 0)
        && m_work.set(QStringLiteral("TimeHint"),
                      dbdates::toText(reminder ? QDateTime(dtDateHInt->date(), dtTImeHint->time()) : QDateTime()))
        && m_work.set(QStringLiteral("LastUpTime"), platform::clock().now())
        && m_work.set(QStringLiteral("TimeStart"), date(chkStart, dtStart))
        && m_work.set(QStringLiteral("TimeEnd"), date(chkEnd, dtEnd))
        && m_work.set(QStringLiteral("HasHinted"), 0)
        && m_work.set(QStringLiteral("Content"), saveDocument(*editor->document()))
        && m_work.post();
    if (!written)
        platform::prompter().message(tr("存储数据发生错误！"), platform::Prompter::Icon::Error);
    return written;
}

bool ShowWorkEditor(qint64 id, const QString &presetType)
{
    TfrmEditAWork window(id, presetType);
    if (!window.ReadyData())
        return false;
    platform::execModal(window);
    return window.saved();
}
