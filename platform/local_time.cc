#include "platform/local_time.h"

void formatLocalTimestamp(std::time_t when, char* output, std::size_t outputSize) {
  if (outputSize == 0) return;
  output[0] = '\0';
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return;
  if (std::strftime(output, outputSize, "%Y%m%d%H%M%S", &local) == 0) output[0] = '\0';
}

void formatCurrentLocalTimestamp(char* output, std::size_t outputSize) {
  formatLocalTimestamp(std::time(nullptr), output, outputSize);
}
