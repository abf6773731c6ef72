#pragma once

// The name of an SQLite VFS that reads a database file through a memory map instead of one
// system call per page. SQLCipher turns SQLite's own memory-mapped reading off, and a check of
// a whole backup otherwise spends much of its time entering the kernel. Only for files opened
// read-only and immutable: the map is made once and never sees later writes.
const char *mappedReadVfsName();
