#pragma once

#include <QString>

// A work item's `UID` names it in calendar files and on calendar servers, so it is given once,
// when the item is first stored, and never changes.
QString newWorkItemUid();

// One statement that gives every work item without a `UID` a random one of the same form.
QString fillMissingWorkItemUidsStatement();
