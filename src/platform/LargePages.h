#pragma once
// Large memory pages for the heap. A list of a million rows holds some 700 MB in small blocks,
// and where a page fault is dear (in a virtual machine, one costs about as much as building a
// row) touching that memory 4 KiB at a time takes longer than the work itself. glibc's malloc
// asks for transparent huge pages only when a tunable read from the environment at start-up
// says so; the program therefore starts itself once more with it set.

namespace morvane {

// Call first in main, before anything else runs. Where the kernel gives huge pages only to
// memory that asks for them, re-executes the program with the malloc tunable added; in the
// process that then runs, and wherever the re-execution is not needed or fails, it returns
// with the environment as the program was started with, so the programs it launches see what
// it saw.
void StartWithLargePages(char** argv);

// True when the kernel gives huge pages only to memory that asks for them ("[madvise]"): with
// "[always]" the heap has them anyway, and with "[never]" asking changes nothing.
bool HugePagesOnRequest();

}  // namespace morvane
