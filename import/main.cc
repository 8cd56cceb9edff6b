#include "import/run_driver.h"

int main(int argc, char** argv) { return runImport(argc, argv); }
