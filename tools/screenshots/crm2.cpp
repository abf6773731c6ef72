// The follow-ups with their footer sums and editor, the goods catalogue and the client search.
#include "Shots.h"

#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/FollowUpEditor.h"
#include "crm/ClientSearchWindow.h"
#include "crm/GoodsCatalogueDialog.h"
#include "crm/GoodsEditor.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {

void shootFollowUpsGoodsAndSearch(Shots &shots)
{
    ClientListPage page;
    page.resize(971, 520); // the page as the main window shows it
    page.loadTree();
    page.m_categoryTree->setCurrentItem(page.m_categoryTree->findNode(QStringLiteral("0004")));
    page.m_detailTabs->setCurrentIndex(ClientListPage::FollowUpPage);
    shots.showAndTake(page, QStringLiteral("crm2-followups-footer"));

    FollowUpEditor newFollowUp(10, -1);
    newFollowUp.loadRecord();
    newFollowUp.m_goodsNameEdit->setText(QStringLiteral("A4复印纸"));
    newFollowUp.m_specificationEdit->setText(QStringLiteral("70克 500张×8包"));
    shots.showAndTake(newFollowUp, QStringLiteral("crm2-followup-new"));

    FollowUpEditor openDeal(10, 7); // OA办公系统 in negotiation
    openDeal.loadRecord();
    shots.showAndTake(openDeal, QStringLiteral("crm2-followup-edit"));

    FollowUpEditor wonDeal(1, 3); // paid in full: no save button
    wonDeal.loadRecord();
    shots.showAndTake(wonDeal, QStringLiteral("crm2-followup-closed"));

    GoodsCatalogueDialog goods;
    goods.loadCatalogue();
    goods.m_categoryTree->setCurrentItem(goods.m_categoryTree->findNode(QStringLiteral("00010001")));
    shots.showAndTake(goods, QStringLiteral("crm2-goods"));

    GoodsEditor goodsItem(QStringLiteral("00010001"));
    Recordset first;
    first.open(QStringLiteral("Select ID from TGoods where TypeCode='00010001' Order by GoodsCode"));
    goodsItem.loadRecord(first.integer(QStringLiteral("ID")));
    shots.showAndTake(goodsItem, QStringLiteral("crm2-goods-edit"));

    ClientSearchWindow search([](const QString &, qint64) {});
    search.m_nameEdit->setText(QStringLiteral("上海"));
    search.searchByName();
    shots.showAndTake(search, QStringLiteral("crm2-findclient-name"));
    search.m_searchTabs->setCurrentIndex(1);
    search.m_daysBox->setValue(20);
    search.searchByDays();
    shots.showAndTake(search, QStringLiteral("crm2-findclient-days"));
}

const ShotSet crm2("crm2", shootFollowUpsGoodsAndSearch);

} // namespace
