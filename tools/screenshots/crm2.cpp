// The follow-ups with their footer sums and editor, the goods catalogue and the client search.
#include "Shots.h"

#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/TfrmClientTrackEdit.h"
#include "crm/TfrmFindClient.h"
#include "crm/TfrmGoods.h"
#include "crm/TfrmGoodsEdit.h"
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
    page.ReadyTree();
    page.TreeView1->setCurrentItem(page.TreeView1->FindNode(QStringLiteral("0004")));
    page.pcDetail->setCurrentIndex(ClientListPage::TrackPage);
    shots.showAndTake(page, QStringLiteral("crm2-followups-footer"));

    TfrmClientTrackEdit newFollowUp(10, -1);
    newFollowUp.ReadyData();
    newFollowUp.EditGoodsName->setText(QStringLiteral("A4复印纸"));
    newFollowUp.EditStyle->setText(QStringLiteral("70克 500张×8包"));
    shots.showAndTake(newFollowUp, QStringLiteral("crm2-followup-new"));

    TfrmClientTrackEdit openDeal(10, 7); // OA办公系统 in negotiation
    openDeal.ReadyData();
    shots.showAndTake(openDeal, QStringLiteral("crm2-followup-edit"));

    TfrmClientTrackEdit wonDeal(1, 3); // paid in full: no save button
    wonDeal.ReadyData();
    shots.showAndTake(wonDeal, QStringLiteral("crm2-followup-closed"));

    TfrmGoods goods;
    goods.ReadyData();
    goods.tree->setCurrentItem(goods.tree->FindNode(QStringLiteral("00010001")));
    shots.showAndTake(goods, QStringLiteral("crm2-goods"));

    TfrmGoodsEdit goodsItem(QStringLiteral("00010001"));
    Recordset first;
    first.open(QStringLiteral("Select ID from TGoods where TypeCode='00010001' Order by GoodsCode"));
    goodsItem.ReadyData(first.integer(QStringLiteral("ID")));
    shots.showAndTake(goodsItem, QStringLiteral("crm2-goods-edit"));

    TfrmFindClient search([](const QString &, qint64) {});
    search.EditName->setText(QStringLiteral("上海"));
    search.ReadyData();
    shots.showAndTake(search, QStringLiteral("crm2-findclient-name"));
    search.pages->setCurrentIndex(1);
    search.EditDays->setValue(20);
    search.ReadyData1();
    shots.showAndTake(search, QStringLiteral("crm2-findclient-days"));
}

const ShotSet crm2("crm2", shootFollowUpsGoodsAndSearch);

} // namespace
