#include "Shots.h"

namespace {

QList<ShotSet> &registry()
{
    static QList<ShotSet> sets;
    return sets;
}

} // namespace

ShotSet::ShotSet(const char *name, Function shoot)
    : name(name)
    , shoot(shoot)
{
    registry().append(*this);
}

const QList<ShotSet> &shotSets()
{
    return registry();
}
