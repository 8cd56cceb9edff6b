#include <new>

#include "import/run_driver.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  try {
    return runImport(argc, argv);
  } catch (const std::bad_alloc&) {
    // The bookings are held in memory whole; a file too large for it ends the
    // run before the inserts, with nothing committed.
    consoleWrite("zarnik: Nicht genug Speicher.\n");
    return 1;
  }
}
