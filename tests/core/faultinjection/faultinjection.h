#pragma once

// Makes one file-system call fail, as a full or failing disk would, so that a test sees
// what a save or an export does then. Only calls on files in one folder (and below it)
// count; the program under test loads the library with LD_PRELOAD, or a test links it and
// arms it itself. The C library's streams (fopen, fdopen) on files in the folder are made of
// the same calls, so that a library writing through them meets the same faults.
//
// With LD_PRELOAD it is armed by the environment:
//   VARN_FAULT_DIR     the folder whose files count (an absolute path)
//   VARN_FAULT_CALL    the kind of call that fails: "write", "read", "fsync", "close",
//                      "rename", "openat", "mkdir", "unlink" (a file or a folder removed)
//                      "ftruncate" or "fchmod"
//   VARN_FAULT_NTH     which of those calls fails, 1 for the first; -1 for every one of
//                      them, as on a disk that is full
//   VARN_FAULT_ERRNO   the error it fails with (ENOSPC when not set)
//   VARN_FAULT_COUNTS  a file that learns at exit how many calls of each kind were made,
//                      one "kind count" line each

#ifdef __cplusplus
extern "C" {
#endif

// Call number nth of this kind on a file in folder fails with error; nth 0 fails none, and
// a negative nth every one. The counts start again from zero.
void varn_fault_arm(const char *folder, const char *call, int nth, int error);
// How many calls of this kind were made on files in the folder since it was armed.
int varn_fault_count(const char *call);

#ifdef __cplusplus
}
#endif
