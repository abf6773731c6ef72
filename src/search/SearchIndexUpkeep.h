#pragma once

class QWidget;
class Database;

// Builds the full-text index when the open file has none or a damaged one (a file made by an
// older version, or changed by one), showing how far it has come while the bodies are read.
// False when it could not be built; the program then runs without finding anything.
bool ensureSearchIndex(Database &database, QWidget *parent);

// Builds the index anew whatever it holds (a search found it damaged), showing the same
// progress. False when it could not be built.
bool rebuildSearchIndex(Database &database, QWidget *parent);
