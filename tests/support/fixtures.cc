#include "tests/support/fixtures.h"

#include "tests/support/test_database.h"

std::string standardFixtureSql() {
  return std::string(
             "INSERT INTO QVSYSTEM.Qvs112Mnd (MndLiz, MndNum, MndKon, MndSta, MndSch) VALUES "
             "('L1', 'M1', 0, 0, 'QVS_TEST');"
             "INSERT INTO QVSYSTEM.Qvs301Asw (AswNum, AswGVo, AswGbi, AswSta, AswPnr, AswLiz, AswMnd) VALUES "
             "('B100', '2020-01-01', NULL, 0, '1001', 'L1', 'M1'),"
             "('B200', '2024-01-01', '2024-06-30', 0, '1002', 'L1', 'M1'),"
             "('B300', '2020-01-01', NULL, 4, '1003', 'L1', 'M1');"
             "INSERT INTO QVSYSTEM.Qvs102Whl (FtxNumSpr, FtxWhl, FtxSpr, FtxDok) VALUES "
             "(8, 1065, 1, 'Fehler beim Einfuegen der Buchung');"
             "INSERT INTO ") +
         kTestTenantDatabase +
         ".O1003KSTSTELLE (KstApz, KstSta, KstNum) VALUES ('12', 0, 'KST-4711'), ('13', 0, 'KST-0815');";
}
