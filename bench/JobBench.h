#pragma once

// The whole job as a user does it (load and clean, save, undo and redo of the load), each in a
// process of its own, against the shell pipeline `tac FILE | awk '!s[$0]++' | tac`.

#include <QString>

// The job on `listPath` in this process: prints one line ("JOB" and its figures) for the parent
// to read; the saved list kept as `keepSaved` when given.
int runJob(const QString &listPath, bool matchCase, const QString &keepSaved);

// Both jobs on the list at `path` against the pipelines, each in processes of their own.
void benchJobs(const QString &path, int size, const char *shape);

// The Match-case job on a small and a large list of the same shape, in turn, `pairs` times:
// the time per line of each and the large list's against the small one's in the same pair.
void benchScaling(const QString &small, const QString &large, int pairs);
