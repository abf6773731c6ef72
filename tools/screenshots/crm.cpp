// The client page with each of its detail pages, and the windows it opens.
#include "Shots.h"

#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/TfrmClientClassSel.h"
#include "crm/TfrmClientEdit.h"
#include "crm/TfrmClientLinkerEdit.h"
#include "crm/TfrmClientLinkerRecEdit.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <QTabWidget>

namespace {

void shootClients(Shots &shots)
{
    ClientListPage page;
    page.resize(971, 520); // the page as the main window shows it
    page.ReadyTree();
    page.TreeView1->setCurrentItem(page.TreeView1->FindNode(QStringLiteral("00010001")));
    page.dsClient().locate(1);
    page.show();
    const QStringList detailNames{"contacts", "activities", "followups"};
    for (int detail = 0; detail < detailNames.size(); ++detail) {
        page.pcDetail->setCurrentIndex(detail);
        QCoreApplication::processEvents();
        shots.take(page, QStringLiteral("crm-clients-%1").arg(detailNames.at(detail)));
    }
    page.hide();

    TfrmClientEdit client(QStringLiteral("00010001"), QString());
    client.ReadyData(1);
    shots.showAndTake(client, QStringLiteral("dialog-client"));

    TfrmClientEdit newClient(QStringLiteral("00010001"), QStringLiteral("上海客户"));
    newClient.ReadyData(-1);
    shots.showAndTake(newClient, QStringLiteral("dialog-client-new"));

    TfrmClientClassSel categories;
    categories.ReadyData();
    shots.showAndTake(categories, QStringLiteral("dialog-client-category"));

    TfrmClientLinkerEdit contact(1);
    contact.ReadyData(1);
    shots.showAndTake(contact, QStringLiteral("dialog-client-contact"));

    TfrmClientLinkerRecEdit activity(1);
    activity.ReadyData(4);
    shots.showAndTake(activity, QStringLiteral("dialog-client-activity"));
}

const ShotSet crm("crm", shootClients);

} // namespace
