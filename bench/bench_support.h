// What the in-process benchmarks share.
#pragma once

#include <string_view>

#include "import/booking_record.h"

// Stands in for the badge lookup when there is no database: gives the
// booking a personnel number that, like the real one, belongs to its badge
// alone (the badge's last eight digits), so that the sort sees as many
// distinct keys as in a real run.
inline void setStandInPersonnelNumber(BookingRecord& booking) {
  std::string_view badge = booking.badgeNumber.view();
  if (badge.size() > 8) badge.remove_prefix(badge.size() - 8);
  booking.personnelNumber.assign(badge);
}
