// Build-time settings of the run.
#pragma once

// Trace level: at 1 and above the per-record trace lines, the looked-up
// personnel number and cost centre and the detail lines of an error report
// are printed; at 2 and above also the sorted list.
inline constexpr int kTraceLevel = 2;
