#pragma once

// Spelling slips on `count` items that are all slips of one another (twelve characters, one of
// them one of 16,667 ideographs), in a child process whose address space is bounded, under a
// wall-clock cap of `capSeconds`: how the search ends, its peak memory beside the list's own
// size, and how soon it honours a stop.
void benchDenseSlips(int count, int capSeconds);
// The child's part of it.
int runDenseSlips(int count, int capSeconds);
