-- Example data for the central schema QVSYSTEM (load after sql/qvsystem.sql).
-- One licence L100 with one tenant 01, whose database is qvs_demo.

INSERT INTO QVSYSTEM.Qvs112Mnd (MndLiz, MndNum, MndKon, MndSta, MndSch) VALUES
  ('L100', '01', 0, 0, 'QVS_DEMO');

-- Badges: 4711 and 4712 are held by one person each; 4713 was handed back at
-- the end of February 2024 and is not valid in March; 4714 was passed on to
-- its second holder on 5 March 2024; the deleted row (status 4) never counts.
INSERT INTO QVSYSTEM.Qvs301Asw (AswNum, AswGVo, AswGbi, AswSta, AswPnr, AswLiz, AswMnd) VALUES
  ('4711', '2020-01-01', NULL,         0, '1001', 'L100', '01'),
  ('4712', '2022-07-01', NULL,         0, '1002', 'L100', '01'),
  ('4713', '2021-04-01', '2024-02-29', 0, '1003', 'L100', '01'),
  ('4714', '2019-01-01', '2024-03-04', 0, '1004', 'L100', '01'),
  ('4714', '2024-03-05', NULL,         0, '1005', 'L100', '01'),
  ('4715', '2020-01-01', NULL,         4, '1006', 'L100', '01');

-- The text of the error number that a failed booking insert is logged with.
INSERT INTO QVSYSTEM.Qvs102Whl (FtxNumSpr, FtxWhl, FtxSpr, FtxDok) VALUES
  (8, 1065, 1, 'Fehler beim Einfuegen der Buchung');
