-- The tables of one tenant's database, the database that zarnik connects to
-- (the SCHEMA value of its configuration). Run it in that database:
--   mariadb TENANT_DATABASE < sql/tenant.sql

-- Cost centres by workstation; a status of 4 and above marks a deleted row.
CREATE TABLE IF NOT EXISTS O1003KSTSTELLE (
  KstApz VARCHAR(7) NOT NULL,
  KstSta INT NOT NULL DEFAULT 0,
  KstNum VARCHAR(40) NOT NULL,
  PRIMARY KEY (KstApz, KstNum)
) ENGINE=InnoDB CHARACTER SET latin1;

-- Bookings. One person books a function at a given minute once: a repeated
-- booking fails as a duplicate.
CREATE TABLE IF NOT EXISTS QVS321BCH (
  BchPnr VARCHAR(8) NOT NULL,
  BchVon DATE NOT NULL,
  BchUhr DATETIME NOT NULL,
  BchFkt INT NOT NULL,
  BchFcd VARCHAR(31) NOT NULL,
  BchKst VARCHAR(30) NOT NULL,
  PRIMARY KEY (BchPnr, BchUhr, BchFkt)
) ENGINE=InnoDB CHARACTER SET latin1;
