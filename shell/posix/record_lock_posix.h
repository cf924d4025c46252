#pragma once
// The Top Ten store's lock on POSIX systems, in a file of its own so that a
// test program can link one that every file system refuses.

// Takes an exclusive record lock on the whole open file without waiting. The
// kernel lets it go with the process, and a network file system (NFS) holds
// it between machines through its lock manager. 0 when taken; EAGAIN or
// EACCES while another process holds it; any other errno when the file
// system offers no lock.
int TryRecordLock(int file);
