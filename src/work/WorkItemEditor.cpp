#include "work/WorkItemEditor.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/WorkItemUid.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EditorBoxes.h"
#include "util/TextHelpers.h"
#include "document/DocumentStore.h"
#include "document/RichTextEditor.h"
#include "work/RepeatRule.h"
#include "work/RepeatRuleItems.h"
#include "work/WorkTypesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The subject column holds 50 characters.
constexpr int kTitleLength = 50;

// The repeat kinds in the order of their drop-down; a rule the row cannot show comes last.
constexpr int kKeptRuleIndex = 7;

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

WorkItemEditor::WorkItemEditor(qint64 id, const QString &presetType, QWidget *parent)
    : QDialog(parent)
    , m_subjectEdit(new QLineEdit)
    , m_typeCombo(new QComboBox)
    , m_editTypesButton(new QToolButton)
    , m_stateCombo(new QComboBox)
    , m_startCheck(new QCheckBox)
    , m_startDateEdit(new QDateEdit)
    , m_endCheck(new QCheckBox)
    , m_endDateEdit(new QDateEdit)
    , m_priorityCombo(new QComboBox)
    , m_updateTimeEdit(new QDateTimeEdit)
    , m_bodyEditor(new RichTextEditor(RichTextEditor::Variant::EditorWindow))
    , m_reminderCheck(new QCheckBox(tr("事务处理提示")))
    , m_reminderDateEdit(new QDateEdit)
    , m_reminderTimeEdit(new QTimeEdit)
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
    , m_repeatCombo(new QComboBox)
    , m_intervalSpin(new QSpinBox)
    , m_monthlyCombo(new QComboBox)
    , m_endCombo(new QComboBox)
    , m_untilDateEdit(new QDateEdit)
    , m_countSpin(new QSpinBox)
    , m_repeatSentence(new QLabel)
    , m_id(id)
    , m_presetType(presetType)
{
    setWindowTitle(tr("新增/修改事务"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The repeat row below the reminder adds its height to the window.
    resize(728, 497 + 64);

    auto *body = new QGroupBox(tr("事务详细内容"));
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(4, 4, 4, 4);
    bodyLayout->addWidget(m_bodyEditor);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_reminderCheck);
    bottom->addWidget(m_reminderDateEdit);
    bottom->addWidget(m_reminderTimeEdit);
    bottom->addStretch(1);
    bottom->addWidget(m_saveButton);
    bottom->addWidget(m_cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields());
    layout->addWidget(body, 1);
    layout->addLayout(bottom);
    layout->addLayout(buildRepeatRow());

    connect(m_saveButton, &QPushButton::clicked, this, [this] {
        if (saveRecord()) {
            m_cancelled = false;
            accept();
        }
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_editTypesButton, &QToolButton::clicked, this, [this] {
        editWorkTypes();
        fillWorkTypes();
    });
    for (QCheckBox *box : {m_startCheck, m_endCheck, m_reminderCheck}) {
        connect(box, &QCheckBox::toggled, this, &WorkItemEditor::applyDateDisplay);
        connect(box, &QCheckBox::toggled, this, &WorkItemEditor::repeatChanged);
    }
    for (QDateEdit *picker : {m_startDateEdit, m_endDateEdit, m_reminderDateEdit})
        connect(picker, &QDateEdit::dateChanged, this, &WorkItemEditor::repeatChanged);
    fillWorkTypes();
    m_subjectEdit->setFocus();
}

QWidget *WorkItemEditor::buildFields()
{
    m_subjectEdit->setMaxLength(kTitleLength);
    m_stateCombo->addItems({tr("未处理"), tr("正在处理"), tr("已完成"), tr("已废弃")});
    m_priorityCombo->addItems({tr("普通"), tr("紧急")});
    m_editTypesButton->setText(QStringLiteral("…"));
    m_editTypesButton->setToolTip(tr("编辑事务类型"));
    for (QDateEdit *picker : {m_startDateEdit, m_endDateEdit, m_reminderDateEdit}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_reminderTimeEdit->setDisplayFormat(QStringLiteral("HH:mm"));
    m_updateTimeEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    m_updateTimeEdit->setReadOnly(true);
    m_updateTimeEdit->setButtonSymbols(QAbstractSpinBox::NoButtons);

    auto dated = [](QCheckBox *box, QDateEdit *picker) {
        auto *row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(box);
        row->addWidget(picker, 1);
        return row;
    };
    auto *typeRow = new QHBoxLayout;
    typeRow->setSpacing(2);
    typeRow->addWidget(m_typeCombo, 1);
    typeRow->addWidget(m_editTypesButton);

    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(tr("事务主题")), 0, 0);
    grid->addWidget(m_subjectEdit, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("事务类型")), 1, 0);
    grid->addLayout(typeRow, 1, 1);
    grid->addWidget(new QLabel(tr("处理状态")), 1, 2);
    grid->addWidget(m_stateCombo, 1, 3);
    grid->addWidget(new QLabel(tr("开始时间")), 2, 0);
    grid->addLayout(dated(m_startCheck, m_startDateEdit), 2, 1);
    grid->addWidget(new QLabel(tr("结束时间")), 2, 2);
    grid->addLayout(dated(m_endCheck, m_endDateEdit), 2, 3);
    grid->addWidget(new QLabel(tr("优先级")), 3, 0);
    grid->addWidget(m_priorityCombo, 3, 1);
    grid->addWidget(new QLabel(tr("更新时间")), 3, 2);
    grid->addWidget(m_updateTimeEdit, 3, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return fields;
}

QLayout *WorkItemEditor::buildRepeatRow()
{
    m_repeatCombo->addItems({tr("不重复"), tr("每天"), tr("每个工作日"), tr("每周"), tr("每月"), tr("每年"), tr("每年（农历）")});
    m_intervalSpin->setRange(1, 99);
    m_intervalSpin->setPrefix(tr("每 "));
    m_monthlyCombo->addItems({QString(), QString()});
    m_endCombo->addItems({tr("永不"), tr("到某日"), tr("共 N 次")});
    m_untilDateEdit->setCalendarPopup(true);
    m_untilDateEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_countSpin->setRange(1, 999);
    m_countSpin->setValue(10);
    m_countSpin->setPrefix(tr("共 "));
    m_countSpin->setSuffix(tr(" 次"));
    m_repeatSentence->setWordWrap(true);
    m_repeatSentence->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *days = new QHBoxLayout;
    days->setSpacing(2);
    for (const QString &day : {tr("一"), tr("二"), tr("三"), tr("四"), tr("五"), tr("六"), tr("日")}) {
        auto *box = new QCheckBox(day);
        m_weekdayChecks.append(box);
        days->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &WorkItemEditor::repeatChanged);
    }
    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(tr("重复")));
    controls->addWidget(m_repeatCombo);
    controls->addWidget(m_intervalSpin);
    controls->addLayout(days);
    controls->addWidget(m_monthlyCombo);
    controls->addSpacing(8);
    controls->addWidget(new QLabel(tr("结束")));
    controls->addWidget(m_endCombo);
    controls->addWidget(m_untilDateEdit);
    controls->addWidget(m_countSpin);
    controls->addStretch(1);

    auto *row = new QVBoxLayout;
    row->setSpacing(2);
    row->addLayout(controls);
    row->addWidget(m_repeatSentence);

    for (QComboBox *combo : {m_repeatCombo, m_monthlyCombo, m_endCombo})
        connect(combo, &QComboBox::currentIndexChanged, this, &WorkItemEditor::repeatChanged);
    for (QSpinBox *spin : {m_intervalSpin, m_countSpin})
        connect(spin, &QSpinBox::valueChanged, this, &WorkItemEditor::repeatChanged);
    connect(m_untilDateEdit, &QDateEdit::dateChanged, this, &WorkItemEditor::repeatChanged);
    connect(m_repeatCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showingRule || index <= 0 || index == kKeptRuleIndex)
            return;
        // A repeating item needs a day to count from: the start date, unless another date is set.
        if (!m_startCheck->isChecked() && !m_reminderCheck->isChecked() && !m_endCheck->isChecked())
            m_startCheck->setChecked(true);
        const bool noDay = std::none_of(m_weekdayChecks.cbegin(), m_weekdayChecks.cend(),
                                        [](const QCheckBox *box) { return box->isChecked(); });
        if (index == int(repeat::Kind::Weekly) && noDay)
            m_weekdayChecks.at(repeatAnchor().dayOfWeek() - 1)->setChecked(true);
    });
    return row;
}

QDate WorkItemEditor::repeatAnchor() const
{
    if (m_startCheck->isChecked())
        return m_startDateEdit->date();
    if (m_reminderCheck->isChecked())
        return m_reminderDateEdit->date();
    if (m_endCheck->isChecked())
        return m_endDateEdit->date();
    return platform::clock().now().date();
}

void WorkItemEditor::showRepeatRule(const QString &rule)
{
    m_showingRule = true;
    m_repeatRule = rule.trimmed();
    const std::optional<repeat::EditorRule> shown = repeat::editorRule(m_repeatRule);
    if (m_repeatCombo->count() > kKeptRuleIndex)
        m_repeatCombo->removeItem(kKeptRuleIndex);
    m_untilDateEdit->setDate(repeatAnchor().addMonths(1));
    if (!shown) {
        // Kept as it stands, shown as its text, and still repeating the item.
        m_keptRule = m_repeatRule;
        m_repeatCombo->addItem(tr("其他规则"));
        m_repeatCombo->setCurrentIndex(kKeptRuleIndex);
    } else {
        m_repeatCombo->setCurrentIndex(int(shown->kind));
        m_intervalSpin->setValue(shown->interval);
        for (int day = 1; day <= 7; ++day)
            m_weekdayChecks.at(day - 1)->setChecked(shown->weekdays.contains(day));
        m_monthlyCombo->setCurrentIndex(shown->monthlyBy == repeat::MonthlyBy::DayOfMonth ? 0 : 1);
        m_endCombo->setCurrentIndex(int(shown->ending));
        if (shown->until.isValid())
            m_untilDateEdit->setDate(shown->until);
        if (shown->count > 0)
            m_countSpin->setValue(shown->count);
    }
    m_showingRule = false;
    updateRepeatControls();
}

void WorkItemEditor::repeatChanged()
{
    if (m_showingRule)
        return;
    const int index = m_repeatCombo->currentIndex();
    if (index == kKeptRuleIndex) {
        m_repeatRule = m_keptRule;
    } else {
        repeat::EditorRule rule;
        rule.kind = repeat::Kind(std::max(index, 0));
        rule.interval = m_intervalSpin->value();
        for (int day = 1; day <= 7; ++day) {
            if (m_weekdayChecks.at(day - 1)->isChecked())
                rule.weekdays.append(day);
        }
        rule.monthlyBy = m_monthlyCombo->currentIndex() == 1 ? repeat::MonthlyBy::WeekdayOfMonth : repeat::MonthlyBy::DayOfMonth;
        rule.ending = repeat::Ending(std::max(m_endCombo->currentIndex(), 0));
        rule.until = m_untilDateEdit->date();
        rule.count = m_countSpin->value();
        m_repeatRule = repeat::ruleText(rule, repeatAnchor());
    }
    updateRepeatControls();
}

void WorkItemEditor::updateRepeatControls()
{
    const int index = m_repeatCombo->currentIndex();
    const auto kind = repeat::Kind(index);
    const bool builtIn = index > 0 && index != kKeptRuleIndex;
    static const QStringList units{QString(), tr(" 天"), QString(), tr(" 周"), tr(" 个月"), tr(" 年"), tr(" 年")};
    m_intervalSpin->setSuffix(units.value(index));
    m_intervalSpin->setVisible(builtIn && kind != repeat::Kind::Workdays);
    for (QCheckBox *box : m_weekdayChecks)
        box->setVisible(kind == repeat::Kind::Weekly);
    // The monthly choices name the day they would take from the item's date.
    const QDate anchor = repeatAnchor();
    const int ordinal = (anchor.day() - 1) / 7 + 1;
    static const QStringList weekdays{tr("周一"), tr("周二"), tr("周三"), tr("周四"), tr("周五"), tr("周六"), tr("周日")};
    m_monthlyCombo->setItemText(0, tr("%1日").arg(anchor.day()));
    m_monthlyCombo->setItemText(1, (ordinal == 5 ? tr("最后一个") : tr("第%1个").arg(ordinal)) + weekdays.value(anchor.dayOfWeek() - 1));
    m_monthlyCombo->setVisible(kind == repeat::Kind::Monthly);
    m_endCombo->setEnabled(builtIn);
    m_untilDateEdit->setVisible(builtIn && m_endCombo->currentIndex() == int(repeat::Ending::Until));
    m_countSpin->setVisible(builtIn && m_endCombo->currentIndex() == int(repeat::Ending::Count));
    const QString problem = repeat::ruleProblem(m_repeatRule);
    m_repeatSentence->setText(problem.isEmpty() ? repeat::describeRule(m_repeatRule) : problem);
}

void WorkItemEditor::fillWorkTypes()
{
    QStringList types;
    appendWorkTypeTitles(types);
    m_typeCombo->clear();
    m_typeCombo->addItems(types);
    m_typeCombo->setCurrentIndex(types.isEmpty() ? -1 : 0);
}

void WorkItemEditor::applyDateDisplay()
{
    showWhen(m_startDateEdit, m_startCheck->isChecked());
    showWhen(m_endDateEdit, m_endCheck->isChecked());
    showWhen(m_reminderDateEdit, m_reminderCheck->isChecked());
    showWhen(m_reminderTimeEdit, m_reminderCheck->isChecked());
    showWhen(m_updateTimeEdit, m_hasUpdateTime);
}

bool WorkItemEditor::loadRecord()
{
    if (!m_work.open(QStringLiteral("Select * from TWork where ID=?"), {m_id})) {
        platform::prompter().message(tr("读取数据库发生错误"), platform::Prompter::Icon::Error);
        return false;
    }
    const QDateTime now = platform::clock().now();
    if (m_work.isEmpty()) {
        m_work.append();
        m_stateCombo->setCurrentIndex(0);
        m_updateTimeEdit->setDateTime(now);
        const int preset = m_typeCombo->findText(m_presetType, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (preset >= 0)
            m_typeCombo->setCurrentIndex(preset);
        for (QDateEdit *picker : {m_startDateEdit, m_endDateEdit, m_reminderDateEdit})
            picker->setDate(now.date());
        m_reminderTimeEdit->setTime(now.time());
        showRepeatRule(QString());
    } else {
        m_subjectEdit->setText(m_work.text(QStringLiteral("Title")));
        QStringList types;
        for (int i = 0; i < m_typeCombo->count(); ++i)
            types.append(m_typeCombo->itemText(i));
        m_typeCombo->setCurrentIndex(indexOfEntry(types, m_work.text(QStringLiteral("WorkType")), true));
        m_stateCombo->setCurrentIndex(int(m_work.integer(QStringLiteral("FinStu"))) - 1);
        m_priorityCombo->setCurrentIndex(int(m_work.integer(QStringLiteral("ZY"))));
        for (auto [box, picker, field] : {std::tuple{m_startCheck, m_startDateEdit, "TimeStart"}, std::tuple{m_endCheck, m_endDateEdit, "TimeEnd"}}) {
            const QVariant stored = m_work.value(QLatin1String(field));
            const bool set = !dbdates::isEmpty(stored);
            box->setChecked(set);
            picker->setDate(set ? dbdates::fromValue(stored).date() : now.date());
        }
        const QVariant updated = m_work.value(QStringLiteral("LastUpTime"));
        m_hasUpdateTime = !dbdates::isEmpty(updated);
        m_updateTimeEdit->setDateTime(m_hasUpdateTime ? dbdates::fromValue(updated) : now);
        const QVariant hint = m_work.value(QStringLiteral("TimeHint"));
        const QDateTime hintTime = dbdates::isEmpty(hint) ? now : dbdates::fromValue(hint);
        m_reminderDateEdit->setDate(hintTime.date());
        m_reminderTimeEdit->setTime(hintTime.time());
        m_reminderCheck->setChecked(m_work.integer(QStringLiteral("UseTimeHint")) != 0);
        const QByteArray content = m_work.blob(QStringLiteral("Content"));
        if (content.size() > kNoBodyLimit)
            loadDocument(content, *m_bodyEditor->document());
        m_bodyEditor->m_textEdit->moveCursor(QTextCursor::Start); // the body opens at its top
        showRepeatRule(m_work.text(QStringLiteral("RRule")));
    }
    applyDateDisplay();
    showStartOfBoxes(this);
    return true;
}

bool WorkItemEditor::saveRecord()
{
    if (m_typeCombo->currentIndex() < 0) {
        platform::prompter().message(tr("请务必指定事务分类，以便在后期事务教多时进行分类过滤查询！"),
                                     platform::Prompter::Icon::Warning);
        m_typeCombo->setFocus();
        return false;
    }
    if (m_subjectEdit->text().isEmpty()) {
        platform::prompter().message(tr("请务必输入事务主题，如果内容较简介，则主题可直接作为事务的内容！"),
                                     platform::Prompter::Icon::Warning);
        m_subjectEdit->setFocus();
        return false;
    }
    const bool reminder = m_reminderCheck->isChecked();
    // An unchecked date is cleared: the field shows blank, so the item has no such date.
    auto date = [](const QCheckBox *box, const QDateEdit *picker) {
        return box->isChecked() ? QVariant(dbdates::toText(QDateTime(picker->date(), QTime(0, 0)))) : QVariant();
    };
    m_work.edit();
    const bool written =
        m_work.set(QStringLiteral("Title"), m_subjectEdit->text())
        && m_work.set(QStringLiteral("WorkType"), m_typeCombo->currentText())
        && m_work.set(QStringLiteral("FinStu"), m_stateCombo->currentIndex() + 1)
        && m_work.set(QStringLiteral("ZY"), m_priorityCombo->currentIndex())
        && m_work.set(QStringLiteral("UseTimeHint"), reminder ? 1 : 0)
        && m_work.set(QStringLiteral("TimeHint"),
                      dbdates::toText(reminder ? QDateTime(m_reminderDateEdit->date(), m_reminderTimeEdit->time()) : QDateTime()))
        && m_work.set(QStringLiteral("LastUpTime"), platform::clock().now())
        && m_work.set(QStringLiteral("TimeStart"), date(m_startCheck, m_startDateEdit))
        && m_work.set(QStringLiteral("TimeEnd"), date(m_endCheck, m_endDateEdit))
        && m_work.set(QStringLiteral("HasHinted"), 0)
        && m_work.set(QStringLiteral("Content"), saveDocument(*m_bodyEditor->document()))
        && m_work.set(QStringLiteral("RRule"), m_repeatRule.isEmpty() ? QVariant() : QVariant(m_repeatRule))
        && (!m_work.text(QStringLiteral("UID")).isEmpty() || m_work.set(QStringLiteral("UID"), newWorkItemUid()));
    const StoredWorkItem stored = written ? postWorkItem(Database::instance(), m_work, platform::clock().now()) : StoredWorkItem();
    if (!stored.stored) {
        platform::prompter().message(tr("存储数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (!stored.problem.isEmpty())
        platform::prompter().message(stored.problem, platform::Prompter::Icon::Warning);
    return true;
}

bool editWorkItem(qint64 id, const QString &presetType)
{
    WorkItemEditor window(id, presetType);
    if (!window.loadRecord())
        return false;
    platform::execModal(window);
    return window.saved();
}
