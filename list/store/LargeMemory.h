#pragma once

#include <cstddef>

// Memory for the large buffers of a list (its texts, the duplicate scan's table, what undo
// keeps), straight from the kernel on huge-page boundaries and marked for huge pages: their
// pages then arrive 2 MB at a time, not 4 KB, which makes first touching a few hundred
// megabytes several times cheaper.
//
// Even so, first touching fresh memory is what a large load spends most of its time on, and
// a command often frees one large buffer just before it asks for the next (the scan's table,
// then the texts a removal keeps). So the last large buffer freed is kept, its pages still
// there, and handed out again: grown or cut to the size asked for. releaseSpareMemory()
// gives it back to the system once a command is through.
void *allocateLarge(size_t bytes);
// Fresh memory that reads as zeros, never the spare buffer.
void *allocateZeroed(size_t bytes);
void deallocateLarge(void *memory, size_t bytes);
void releaseSpareMemory();
// Gives the whole pages within [from, to) back to the system; they read as zeros when next
// touched. The memory stays the caller's.
void releasePages(void *from, void *to);
