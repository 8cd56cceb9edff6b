// Local time, as the run log stamps its rows.
#pragma once

#include <cstddef>
#include <ctime>

// Formats the local time of `when` as "%Y%m%d%H%M%S" (14 digits) into
// output, NUL-terminated; output becomes empty when the time cannot be
// converted or does not fit.
void formatLocalTimestamp(std::time_t when, char* output, std::size_t outputSize);

// The same for the current time.
void formatCurrentLocalTimestamp(char* output, std::size_t outputSize);
