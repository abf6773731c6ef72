#include "desk/PostCodesPage.h"

#include "data/Sqlite.h"
#include "data/TDM.h"
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
    , cmbSZM(new QComboBox)
    , EditAreaName(new QLineEdit)
    , cmdQueryPostCode(new QPushButton(tr("查找")))
    , DBGridEh6(new DataGrid(m_postCodes))
{
    cmbSZM->setEditable(true);
    cmbSZM->setInsertPolicy(QComboBox::NoInsert); // a typed name is a query, not a new province
    cmbSZM->setMinimumWidth(160);
    EditAreaName->setMinimumWidth(200);

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("省份/洲名")));
    bar->addWidget(cmbSZM);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(tr("具体地区名称")));
    bar->addWidget(EditAreaName);
    bar->addWidget(cmdQueryPostCode);
    bar->addStretch(1);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    DBGridEh6->setColumns({
        GridColumn{.field = QStringLiteral("DQ"), .title = tr("地区名称"), .width = 220},
        GridColumn{.field = QStringLiteral("SM"), .title = tr("省份/洲"), .width = 160},
        GridColumn{.field = QStringLiteral("YB"), .title = tr("邮政编码"), .width = 100},
        GridColumn{.field = QStringLiteral("QH"), .title = tr("电话区号"), .width = 100, .alignment = right},
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(DBGridEh6, 1);

    connect(cmdQueryPostCode, &QPushButton::clicked, this, &PostCodesPage::cmdQueryPostCodeClick);
    connect(EditAreaName, &QLineEdit::returnPressed, this, &PostCodesPage::cmdQueryPostCodeClick);
    connect(cmbSZM->lineEdit(), &QLineEdit::returnPressed, this, &PostCodesPage::cmdQueryPostCodeClick);
    connect(cmbSZM, &QComboBox::activated, this, &PostCodesPage::provinceChosen);
}

void PostCodesPage::fillProvinces()
{
    QStringList provinces;
    TDM::instance().GetDataBySQLToItems(QStringLiteral("Select Distinct sm from YBQH Order by SM collate PINYIN"),
                                        provinces, true);
    cmbSZM->clear();
    cmbSZM->addItems(provinces);
    cmbSZM->setCurrentIndex(-1);
    cmbSZM->setEditText(QString());
}

bool PostCodesPage::cmdQueryPostCodeClick()
{
    const QString area = EditAreaName->text();
    if (!area.isEmpty())
        cmbSZM->setEditText(QString());
    const PostCodeQuery query = buildPostCodeQuery(area, cmbSZM->currentText());
    if (m_postCodes.open(query.sql, query.params))
        return true;
    platform::prompter().message(tr("读取数据库文件发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void PostCodesPage::provinceChosen()
{
    EditAreaName->clear();
    cmdQueryPostCodeClick();
}
