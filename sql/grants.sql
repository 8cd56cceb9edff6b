-- The rights that zarnik needs, and no others: it reads the badge, tenant
-- and text tables of QVSYSTEM and the tenant's cost centres, and it adds
-- booking rows and log rows. It never updates or deletes a row and never
-- changes a table.
--
-- Replace the two placeholders before running this as an administrator:
--   @TENANT_DATABASE@  the tenant's database (the SCHEMA value of the
--                      configuration file, without its last character)
--   @IMPORT_USER@      the account of the LOGIN value, e.g. 'zarnik'@'localhost'
-- for example
--   sed -e 's/@TENANT_DATABASE@/qvs_mandant1/g' \
--       -e "s/@IMPORT_USER@/'zarnik'@'localhost'/g" sql/grants.sql | mariadb
-- The account itself is created beforehand (CREATE USER ... IDENTIFIED BY).
-- For several tenants, run the tenant lines once per tenant database.

GRANT SELECT ON QVSYSTEM.Qvs301Asw TO @IMPORT_USER@;
GRANT SELECT ON QVSYSTEM.Qvs112Mnd TO @IMPORT_USER@;
GRANT SELECT ON QVSYSTEM.Qvs102Whl TO @IMPORT_USER@;
GRANT INSERT ON QVSYSTEM.Qvs001Log TO @IMPORT_USER@;

GRANT SELECT ON @TENANT_DATABASE@.O1003KSTSTELLE TO @IMPORT_USER@;
GRANT INSERT ON @TENANT_DATABASE@.QVS321BCH TO @IMPORT_USER@;
