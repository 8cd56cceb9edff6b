-- The central schema QVSYSTEM: the tables that zarnik reads and the log
-- table it writes. The server must run with lower_case_table_names=1: the
-- statements spell this schema QVSYSTEM, Qvsystem and QvSystem.
--
-- Texts are single-byte (latin1, which MariaDB takes as Windows-1252) and
-- stored as the program sends them.

CREATE DATABASE IF NOT EXISTS QVSYSTEM CHARACTER SET latin1;

-- Badge assignments: which personnel number holds a badge from AswGVo
-- (valid from) to AswGbi (valid to, NULL for open-ended), under which
-- licence and tenant. A status of 4 and above marks a deleted assignment.
CREATE TABLE IF NOT EXISTS QVSYSTEM.Qvs301Asw (
  AswNum VARCHAR(13) NOT NULL,
  AswGVo DATE NOT NULL,
  AswGbi DATE NULL,
  AswSta INT NOT NULL DEFAULT 0,
  AswPnr VARCHAR(10) NULL,
  AswLiz VARCHAR(10) NULL,
  AswMnd VARCHAR(30) NULL,
  PRIMARY KEY (AswNum, AswGVo)
) ENGINE=InnoDB CHARACTER SET latin1;

-- Tenants: the schema name of each licence and tenant (MndKon 0 is the
-- tenant's main entry).
CREATE TABLE IF NOT EXISTS QVSYSTEM.Qvs112Mnd (
  MndLiz VARCHAR(10) NOT NULL,
  MndNum VARCHAR(30) NOT NULL,
  MndKon INT NOT NULL DEFAULT 0,
  MndSta INT NOT NULL DEFAULT 0,
  MndSch VARCHAR(30) NULL,
  PRIMARY KEY (MndLiz, MndNum, MndKon)
) ENGINE=InnoDB CHARACTER SET latin1;

-- Texts by number (FtxWhl), document kind (FtxNumSpr) and language (FtxSpr).
CREATE TABLE IF NOT EXISTS QVSYSTEM.Qvs102Whl (
  FtxNumSpr INT NOT NULL,
  FtxWhl INT NOT NULL,
  FtxSpr INT NOT NULL,
  FtxDok VARCHAR(2000) NULL,
  PRIMARY KEY (FtxNumSpr, FtxWhl, FtxSpr)
) ENGINE=InnoDB CHARACTER SET latin1;

-- One row per reported error.
CREATE TABLE IF NOT EXISTS QVSYSTEM.Qvs001Log (
  LogId BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  LogPrg VARCHAR(30) NOT NULL,
  LogStz CHAR(14) NOT NULL,
  LogPrm VARCHAR(150) NOT NULL,
  LogSch VARCHAR(20) NOT NULL,
  LogPnr VARCHAR(10) NOT NULL,
  LogDtm DATE NULL,
  LogMod VARCHAR(10) NOT NULL,
  LogFkt VARCHAR(50) NOT NULL,
  LogTErr INT NOT NULL,
  LogTTxt VARCHAR(256) NOT NULL,
  LogSErr INT NOT NULL,
  LogSTxt VARCHAR(256) NOT NULL,
  LogMsg VARCHAR(256) NOT NULL,
  LogTyp INT NOT NULL,
  LogDat DATETIME NOT NULL
) ENGINE=InnoDB CHARACTER SET latin1;
