// The client page with each of its detail pages, and the windows it opens.
#include "Shots.h"

#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/ClientCategoryDialog.h"
#include "crm/ClientEditor.h"
#include "crm/ContactEditor.h"
#include "crm/ContactActivityEditor.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <QTabWidget>

namespace {

void shootClients(Shots &shots)
{
    ClientListPage page;
    page.resize(971, 520); // the page as the main window shows it
    page.loadTree();
    page.m_categoryTree->setCurrentItem(page.m_categoryTree->findNode(QStringLiteral("00010001")));
    page.clients().locate(1);
    page.show();
    const QStringList detailNames{"contacts", "activities", "followups"};
    for (int detail = 0; detail < detailNames.size(); ++detail) {
        page.m_detailTabs->setCurrentIndex(detail);
        QCoreApplication::processEvents();
        shots.take(page, QStringLiteral("crm-clients-%1").arg(detailNames.at(detail)));
    }
    page.hide();

    ClientEditor client(QStringLiteral("00010001"), QString());
    client.loadRecord(1);
    shots.showAndTake(client, QStringLiteral("dialog-client"));

    ClientEditor newClient(QStringLiteral("00010001"), QStringLiteral("上海客户"));
    newClient.loadRecord(-1);
    shots.showAndTake(newClient, QStringLiteral("dialog-client-new"));

    ClientCategoryDialog categories;
    categories.loadCategories();
    shots.showAndTake(categories, QStringLiteral("dialog-client-category"));

    ContactEditor contact(1);
    contact.loadRecord(1);
    shots.showAndTake(contact, QStringLiteral("dialog-client-contact"));

    ContactActivityEditor activity(1);
    activity.loadRecord(4);
    shots.showAndTake(activity, QStringLiteral("dialog-client-activity"));
}

const ShotSet crm("crm", shootClients);

} // namespace
