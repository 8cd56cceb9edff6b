-- Example data for the tenant database qvs_demo (load after sql/tenant.sql,
-- in that database): the cost centre of each workstation.
INSERT INTO O1003KSTSTELLE (KstApz, KstSta, KstNum) VALUES
  ('101', 0, '4100 Montage'),
  ('102', 0, '4200 Lackiererei'),
  ('201', 0, '5100 Versand'),
  ('202', 4, '5200 Lager (geloescht)');
