// The sync settings window of a new account, as the settings page opens it.
#include "Shots.h"

#include "data/Database.h"
#include "sync/SyncController.h"
#include "sync/SyncSettingsDialog.h"

namespace {

void shootSync(Shots &shots)
{
    SyncController controller(Database::instance());
    SyncSettingsDialog dialog(Database::instance(), controller);
    dialog.loadAccount();
    shots.showAndTake(dialog, QStringLiteral("sync-settings"));
}

const ShotSet sync("sync", shootSync);

} // namespace
