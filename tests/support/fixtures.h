// Small data sets for the tests: one tenant with its schema, badge
// assignments and cost centres, in the tables that sql/ defines.
#pragma once

#include <string>

// Statements that fill QVSYSTEM and the test tenant database with:
//   tenant 'L1'/'M1' -> schema 'QVS_TEST'
//   badge 'B100' -> personnel number '1001' from 2020-01-01, open-ended
//   badge 'B200' -> '1002' from 2024-01-01 to 2024-06-30
//   badge 'B300' -> '1003', a deleted assignment (status 4)
//   workstation '12' -> cost centre 'KST-4711', '13' -> 'KST-0815'
//   text 1065 -> "Fehler beim Einfuegen der Buchung"
std::string standardFixtureSql();
