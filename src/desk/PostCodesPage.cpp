#include "desk/PostCodesPage.h"

#include "data/Sqlite.h"
#include "data/Database.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PostCodeQuery buildPostCodeQuery(const QString &area, const QString &province)
{
    PostCodeQuery query{QStringLiteral("select * from YBQH where 1=1 "), {}};
    if (!area.isEmpty()) {
        query.sql += QStringLiteral(" and DQ like ? escape '\\'");
        query.params.append(QLatin1Char('%') + likePrefix(area));
    } else if (!province.isEmpty()) {
        query.sql += QStringLiteral(" and SM=?");
        query.params.append(province);
    }
    query.sql += QStringLiteral(" Order by YB");
    return query;
}

PostCodesPage::PostCodesPage(QWidget *parent)
    : QWidget(parent)
    , m_provinceCombo(new QComboBox)
    , m_areaEdit(new QLineEdit)
    , m_queryButton(new QPushButton(tr("查找")))
    , m_postCodeGrid(new DataGrid(m_postCodes))
{
    m_provinceCombo->setEditable(true);
    m_provinceCombo->setInsertPolicy(QComboBox::NoInsert); // a typed name is a query, not a new province
    m_provinceCombo->setMinimumWidth(160);
    m_areaEdit->setMinimumWidth(200);

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("省份/洲名")));
    bar->addWidget(m_provinceCombo);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(tr("具体地区名称")));
    bar->addWidget(m_areaEdit);
    bar->addWidget(m_queryButton);
    bar->addStretch(1);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    m_postCodeGrid->setColumns({
        GridColumn{.field = QStringLiteral("DQ"), .title = tr("地区名称"), .width = 220},
        GridColumn{.field = QStringLiteral("SM"), .title = tr("省份/洲"), .width = 160},
        GridColumn{.field = QStringLiteral("YB"), .title = tr("邮政编码"), .width = 100},
        GridColumn{.field = QStringLiteral("QH"), .title = tr("电话区号"), .width = 100, .alignment = right},
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_postCodeGrid, 1);

    connect(m_queryButton, &QPushButton::clicked, this, &PostCodesPage::queryPostCodes);
    connect(m_areaEdit, &QLineEdit::returnPressed, this, &PostCodesPage::queryPostCodes);
    connect(m_provinceCombo->lineEdit(), &QLineEdit::returnPressed, this, &PostCodesPage::queryPostCodes);
    connect(m_provinceCombo, &QComboBox::activated, this, &PostCodesPage::provinceChosen);
}

void PostCodesPage::fillProvinces()
{
    const QString typed = m_provinceCombo->currentText(); // empty at start-up; kept when the pages reload
    QStringList provinces;
    Database::instance().appendNonEmptyValues(QStringLiteral("Select Distinct sm from YBQH Order by SM collate PINYIN"),
                                        provinces, true);
    m_provinceCombo->clear();
    m_provinceCombo->addItems(provinces);
    m_provinceCombo->setCurrentIndex(-1);
    m_provinceCombo->setEditText(typed);
}

bool PostCodesPage::queryPostCodes()
{
    const QString area = m_areaEdit->text();
    if (!area.isEmpty())
        m_provinceCombo->setEditText(QString());
    const PostCodeQuery query = buildPostCodeQuery(area, m_provinceCombo->currentText());
    if (m_postCodes.open(query.sql, query.params))
        return true;
    platform::prompter().message(tr("读取数据库文件发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void PostCodesPage::provinceChosen()
{
    m_areaEdit->clear();
    queryPostCodes();
}
