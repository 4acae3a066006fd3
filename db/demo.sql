-- Demonstration data: a small production department.
--
-- Loaded once, right after db/schema.sql, into a freshly created database:
--     psql -v ON_ERROR_STOP=1 -d <database> -f db/demo.sql
--
-- Shift records are dated relative to the day of loading: today and the
-- working days of the previous five weeks, so the journal opens on records of
-- today and the reports' default period (the previous month) is filled.

SET client_min_messages = warning;
SET DateStyle = 'ISO, DMY';

BEGIN;

-- Departments, staff positions and roles offered by the worker editor.
INSERT INTO cmn_department.department (id, id_branch, id_parent, s_code, s_caption, s_description) VALUES
    (1, 1, NULL, '01', 'Заготовительный участок', ''),
    (2, 1, NULL, '02', 'Сварочный участок', ''),
    (3, 1, NULL, '03', 'Цех окраски', ''),
    (4, 1, NULL, '04', 'Сборочный цех', '');

INSERT INTO hrms_staffpos.staffpos (id, id_department, s_code, s_caption, d_begin, d_end, s_description) VALUES
    (1, 1, '101', 'Оператор листогибочного пресса', DATE '2015-01-01', NULL, ''),
    (2, 2, '201', 'Электросварщик', DATE '2015-01-01', NULL, ''),
    (3, 3, '301', 'Маляр', DATE '2015-01-01', NULL, ''),
    (4, 4, '401', 'Слесарь-сборщик', DATE '2015-01-01', NULL, ''),
    (5, 4, '402', 'Мастер участка', DATE '2015-01-01', NULL, '');

INSERT INTO adm_role.roles (id, s_name, s_caption, d_begin, d_end, b_active) VALUES
    (1, 'master', 'Мастер', DATE '2015-01-01', NULL, 'true'),
    (2, 'storekeeper', 'Кладовщик', DATE '2015-01-01', NULL, 'true'),
    (3, 'planning', 'Планово-экономический отдел', DATE '2015-01-01', NULL, 'true');

-- Classifier: one root, three nomenclature groups (level 2) and one item of
-- level 3, which the group lists leave out.
INSERT INTO cmn_classifier.item (id, id_classifier, id_level, id_parent, s_code, s_caption, s_description, b_excluded, d_excluded_date) VALUES
    (1, 1, 1, NULL, '1',     'Продукция цеха',             '', 'false', NULL),
    (2, 1, 2, 1,    '1.01',  'Шкафы металлические',        '', 'false', NULL),
    (3, 1, 2, 1,    '1.02',  'Стеллажи',                   '', 'false', NULL),
    (4, 1, 2, 1,    '1.03',  'Комплектующие',              '', 'false', NULL),
    (5, 1, 3, 2,    '1.01.1','Шкафы бухгалтерские',        '', 'false', NULL);

-- Workers; the trigger on accounts_dep.person enters each into the person
-- register.  The position text is the caption of the worker's department.
INSERT INTO accounts_dep.person (fio, s_staffpos_hl) VALUES
    ('Иванов И.И.',     'Заготовительный участок'),
    ('Петров П.С.',     'Заготовительный участок'),
    ('Сидоров А.В.',    'Сварочный участок'),
    ('Кузнецов Д.А.',   'Сварочный участок'),
    ('Смирнова О.Н.',   'Цех окраски'),
    ('Волков С.Г.',     'Цех окраски'),
    ('Морозов В.П.',    'Сборочный цех'),
    ('Новикова Е.В.',   'Сборочный цех'),
    ('Фёдоров Н.К.',    'Заготовительный участок'),
    ('Лебедев М.Ю.',    'Сварочный участок'),
    ('Козлова Т.А.',    'Цех окраски'),
    ('Егоров Р.Р.',     'Сборочный цех');

-- Products in the goods register (massa: boxes per piece).  Product 7777, the
-- carrier of the utility work prices, comes with the schema.
INSERT INTO cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, id_class_item) VALUES
    ('ШК-120',               '', 6, 1,    2),
    ('ШК-180',               '', 6, 1.5,  2),
    ('ШАМ-11',               '', 6, 1,    2),
    ('Стеллаж СТ-4',         '', 6, 2.25, 3),
    ('Стеллаж СТ-6',         '', 6, 3,    3),
    ('Стеллаж МС-2000',      '', 6, 2,    3),
    ('Полка П-800',          '', 6, 0.5,  4),
    ('Дверь Д-1200',         '', 6, 1,    4),
    ('Опора ОР-50',          '', 6, 0.25, 4),
    ('Кронштейн КР-30',      '', 6, 0.2,  4);

-- Operation kinds; one of them is a paint operation (its name contains
-- "краска"), so its records carry a colour.  The utility work kinds 7777 and
-- 7778 come with the schema.
INSERT INTO accounts_dep.vid_oper (vid) VALUES
    ('Резка заготовок'),
    ('Гибка'),
    ('Сварка'),
    ('Зачистка швов'),
    ('Окраска порошковая'),
    ('Сборка'),
    ('Упаковка'),
    ('Установка фурнитуры');

-- Priced operations with their norms: (product mark, kind, product type,
-- norm prices); each price gets a norm quantity, the cheaper ones the larger.
CREATE TEMP TABLE demo_price (marka text, vid text, naimen smallint, prices double precision[]) ON COMMIT DROP;
INSERT INTO demo_price VALUES
    ('ШК-120',          'Резка заготовок',      1, '{4.2}'),
    ('ШК-120',          'Гибка',                1, '{6.5,5.8}'),
    ('ШК-120',          'Сварка',               0, '{18,16.5,15}'),
    ('ШК-120',          'Окраска порошковая',   0, '{22.5,20}'),
    ('ШК-120',          'Сборка',               0, '{12.5}'),
    ('ШК-180',          'Гибка',                1, '{8.4}'),
    ('ШК-180',          'Сварка',               0, '{24,21.5}'),
    ('ШК-180',          'Окраска порошковая',   0, '{30}'),
    ('ШК-180',          'Упаковка',             0, '{5}'),
    ('ШАМ-11',          'Резка заготовок',      1, '{3.1}'),
    ('ШАМ-11',          'Сварка',               0, '{14.2,13}'),
    ('ШАМ-11',          'Установка фурнитуры',  0, '{9.75}'),
    ('Стеллаж СТ-4',    'Резка заготовок',      1, '{2.8}'),
    ('Стеллаж СТ-4',    'Окраска порошковая',   0, '{16,14.5,13.25}'),
    ('Стеллаж СТ-4',    'Сборка',               0, '{7.5}'),
    ('Стеллаж СТ-6',    'Гибка',                1, '{3.6,3.2}'),
    ('Стеллаж СТ-6',    'Сборка',               0, '{9.4}'),
    ('Стеллаж СТ-6',    'Упаковка',             0, '{4.5}'),
    ('Стеллаж МС-2000', 'Сварка',               0, '{19.8}'),
    ('Стеллаж МС-2000', 'Зачистка швов',        0, '{6.1,5.5}'),
    ('Полка П-800',     'Резка заготовок',      1, '{1.2}'),
    ('Полка П-800',     'Гибка',                0, '{2.35,2.1}'),
    ('Полка П-800',     'Окраска порошковая',   0, '{4.8}'),
    ('Дверь Д-1200',    'Гибка',                1, '{5.2}'),
    ('Дверь Д-1200',    'Зачистка швов',        0, '{3.9}'),
    ('Дверь Д-1200',    'Установка фурнитуры',  0, '{6.7,6}'),
    ('Опора ОР-50',     'Резка заготовок',      1, '{0.85}'),
    ('Опора ОР-50',     'Сварка',               0, '{1.9,1.7}'),
    ('Кронштейн КР-30', 'Гибка',                1, '{1.1}'),
    ('Кронштейн КР-30', 'Окраска порошковая',   0, '{1.6,1.45}');

INSERT INTO accounts_dep.oper (vid, naimen, i_id, cena_new)
SELECT v.id, dp.naimen, g.id, 0
  FROM demo_price dp
  JOIN cmn_gds_and_srv.gds_and_srv g ON g.s_caption = dp.marka
  JOIN accounts_dep.vid_oper v ON trim(v.vid) = dp.vid
 ORDER BY g.id, v.id, dp.naimen;

INSERT INTO accounts_dep.norm (o_id, norma, price, prize)
SELECT o.id, 50 * p.n, p.price, 0
  FROM demo_price dp
  JOIN cmn_gds_and_srv.gds_and_srv g ON g.s_caption = dp.marka
  JOIN accounts_dep.vid_oper v ON trim(v.vid) = dp.vid
  JOIN accounts_dep.oper o ON o.i_id = g.id AND o.vid = v.id AND o.naimen = dp.naimen
 CROSS JOIN LATERAL unnest(dp.prices) WITH ORDINALITY AS p(price, n)
 ORDER BY o.id, p.n;

-- List prices, shown by the price-list export ("Excel" in the price list): the
-- enterprise's other application keeps them (this program writes 0 for a new
-- operation); here a quarter above the operation's highest norm price.
UPDATE accounts_dep.oper o
   SET cena_new = round((SELECT max(n.price) FROM accounts_dep.norm n WHERE n.o_id = o.id)::numeric * 1.25, 2)
 WHERE o.i_id <> 7777;

-- Utility work: the price per hour of each kind, set on the norm the schema
-- gives its operation, as the planner does in the norms window.
UPDATE accounts_dep.norm n
   SET price = CASE o.vid WHEN 7777 THEN 150 ELSE 120 END
  FROM accounts_dep.oper o
 WHERE n.o_id = o.id AND o.i_id = 7777 AND o.vid IN (7777, 7778);

-- Shift records.  Workers keep a shift: the first six and the last one work
-- shift 1, the next three shift 2, two shift 3.  A worker is present on two
-- days of three (today: all but every third), on working days (today always),
-- with one or two operations; some shift-1 workers stay for overtime
-- (shift 4).  The price is the operation's lowest norm price, raised by 20 %
-- on shift 3 and by 50 % on overtime; the quantity is what earns about
-- 250-350 an hour at that price.  Recent records are mostly not yet accepted,
-- older ones accepted ('ok', the oldest partly 'да').
INSERT INTO accounts_dep.smena (data, smena, w_id, i_id, o_id, cena, kol_vo, brak, color, time, ok, vvod,
                                prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
WITH ops AS (
    SELECT o.id, o.i_id, (position('краска' IN lower(v.vid)) > 0) AS paint,
           (SELECT min(n.price) FROM accounts_dep.norm n WHERE n.o_id = o.id) AS price,
           row_number() OVER (ORDER BY o.id) - 1 AS k,
           count(*) OVER () AS cnt
      FROM accounts_dep.oper o
      JOIN accounts_dep.vid_oper v ON v.id = o.vid
     WHERE o.vid < 7777
),
workers AS (
    SELECT id, row_number() OVER (ORDER BY id) AS w FROM accounts_dep.person
),
days AS (
    SELECT d, current_date - d AS data
      FROM generate_series(0, 35) AS d
     WHERE d = 0 OR extract(isodow FROM current_date - d) < 6
),
slots AS (
    -- regular shift: one or two operations
    SELECT wk.id AS w_id, wk.w, dy.d, dy.data,
           (CASE WHEN wk.w BETWEEN 7 AND 9 THEN 2 WHEN wk.w IN (10, 11) THEN 3 ELSE 1 END) AS smena,
           j.j, 1 + (wk.w + dy.d) % 2 AS n
      FROM workers wk
      CROSS JOIN days dy
      CROSS JOIN generate_series(0, 1) AS j(j)
     WHERE (wk.w + dy.d) % 3 <> 0
       AND j.j < 1 + (wk.w + dy.d) % 2
    UNION ALL
    -- overtime
    SELECT wk.id, wk.w, dy.d, dy.data, 4, 2, 1
      FROM workers wk
      CROSS JOIN days dy
     WHERE (wk.w <= 6 OR wk.w = 12)
       AND (wk.w + dy.d) % 5 = 0
       AND (wk.w + dy.d) % 3 <> 0
),
rec AS (
    SELECT s.*, op.id AS o_id, op.i_id, op.paint,
           op.price * CASE s.smena WHEN 3 THEN 1.2 WHEN 4 THEN 1.5 ELSE 1 END AS cena,
           CASE WHEN s.smena = 4 THEN 2 + s.d % 2
                WHEN s.n = 1 THEN 8
                WHEN s.j = 0 THEN 3 + (s.w + s.d) % 3
                ELSE 5 - (s.w + s.d) % 3 END AS hours
      FROM slots s
      JOIN ops op ON op.k = (s.w * 7 + s.d * 3 + s.j * 11) % op.cnt
)
SELECT r.data,
       r.smena,
       r.w_id,
       r.i_id,
       r.o_id,
       round(r.cena::numeric, 4)::double precision,
       greatest(10, least(200, round(r.hours * (250 + (r.w * 37 + r.d * 13 + r.j * 29) % 101) / r.cena)))::integer,
       CASE WHEN (r.w + r.d + r.j) % 4 = 0 THEN (r.w + r.d) % 6 ELSE 0 END,
       CASE WHEN r.paint THEN (ARRAY[9016, 7035, 3020, 5015])[1 + (r.w + r.d) % 4] ELSE 0 END,
       r.hours,
       CASE WHEN r.d <= 1 THEN CASE WHEN (r.w + r.j) % 4 = 0 THEN 'ok' ELSE 'no' END
            WHEN r.d > 25 THEN CASE WHEN (r.w + r.d + r.j) % 3 = 0 THEN 'да' ELSE 'ok' END
            ELSE CASE WHEN (r.w + r.d + r.j) % 7 = 0 THEN 'no' ELSE 'ok' END END,
       r.data::timestamp,
       0, 0, 0, 0, 0, 0
  FROM rec r
 ORDER BY r.data, r.smena, r.w_id, r.j;

-- Monthly timesheet of every month that has records: hours per worker, shift
-- and day, as a rebuild from the shift records would leave it.
INSERT INTO accounts_dep.h_tabel (w_id, smena, month, year,
    d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
    d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
SELECT w_id, smena, extract(month FROM data)::integer, extract(year FROM data)::integer,
       sum(time) FILTER (WHERE extract(day FROM data) = 1),
       sum(time) FILTER (WHERE extract(day FROM data) = 2),
       sum(time) FILTER (WHERE extract(day FROM data) = 3),
       sum(time) FILTER (WHERE extract(day FROM data) = 4),
       sum(time) FILTER (WHERE extract(day FROM data) = 5),
       sum(time) FILTER (WHERE extract(day FROM data) = 6),
       sum(time) FILTER (WHERE extract(day FROM data) = 7),
       sum(time) FILTER (WHERE extract(day FROM data) = 8),
       sum(time) FILTER (WHERE extract(day FROM data) = 9),
       sum(time) FILTER (WHERE extract(day FROM data) = 10),
       sum(time) FILTER (WHERE extract(day FROM data) = 11),
       sum(time) FILTER (WHERE extract(day FROM data) = 12),
       sum(time) FILTER (WHERE extract(day FROM data) = 13),
       sum(time) FILTER (WHERE extract(day FROM data) = 14),
       sum(time) FILTER (WHERE extract(day FROM data) = 15),
       sum(time) FILTER (WHERE extract(day FROM data) = 16),
       sum(time) FILTER (WHERE extract(day FROM data) = 17),
       sum(time) FILTER (WHERE extract(day FROM data) = 18),
       sum(time) FILTER (WHERE extract(day FROM data) = 19),
       sum(time) FILTER (WHERE extract(day FROM data) = 20),
       sum(time) FILTER (WHERE extract(day FROM data) = 21),
       sum(time) FILTER (WHERE extract(day FROM data) = 22),
       sum(time) FILTER (WHERE extract(day FROM data) = 23),
       sum(time) FILTER (WHERE extract(day FROM data) = 24),
       sum(time) FILTER (WHERE extract(day FROM data) = 25),
       sum(time) FILTER (WHERE extract(day FROM data) = 26),
       sum(time) FILTER (WHERE extract(day FROM data) = 27),
       sum(time) FILTER (WHERE extract(day FROM data) = 28),
       sum(time) FILTER (WHERE extract(day FROM data) = 29),
       sum(time) FILTER (WHERE extract(day FROM data) = 30),
       sum(time) FILTER (WHERE extract(day FROM data) = 31)
  FROM accounts_dep.smena
 GROUP BY w_id, smena, extract(month FROM data), extract(year FROM data)
 ORDER BY 4, 3, 2, 1;

-- Utility works of today and of earlier days.  Kind 7777 is paid at its
-- price per hour; kind 7778 at the worker's average piece rate of the month
-- on products of the same group (the kind's price where he has none).
INSERT INTO accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price)
SELECT u.id_nom, u.id_o, wk.id, u.d_date,
       extract(month FROM u.d_date)::integer, extract(year FROM u.d_date)::integer, 1, u.cnt,
       (SELECT min(n.price) FROM accounts_dep.oper o JOIN accounts_dep.norm n ON n.o_id = o.id
         WHERE o.vid = u.id_o AND o.i_id = 7777)::numeric(15,4)
  FROM (VALUES
        (3,  2, 7777, current_date,      8),
        (6,  3, 7778, current_date,      4),
        (9,  4, 7777, current_date - 1,  6),
        (1,  2, 7778, current_date - 3,  3),
        (12, 3, 7777, current_date - 20, 8),
        (5,  4, 7778, current_date - 30, 2)
       ) AS u(w, id_nom, id_o, d_date, cnt)
  JOIN (SELECT id, row_number() OVER (ORDER BY id) AS w FROM accounts_dep.person) wk ON wk.w = u.w
 ORDER BY u.d_date, wk.id;

UPDATE accounts_dep.fatigue f
   SET price = rate.price
  FROM (SELECT f2.id,
               (sum((s.kol_vo - s.brak) * s.cena) / nullif(sum(s.time), 0))::numeric(10,2) AS price
          FROM accounts_dep.fatigue f2
          JOIN accounts_dep.smena s ON s.w_id = f2.id_p
               AND s.data >= date_trunc('month', f2.d_date)::date
               AND s.data < (date_trunc('month', f2.d_date) + interval '1 month')::date
          JOIN accounts_dep.izdel g ON g.id = s.i_id AND g.id_class_item = f2.id_nom
         WHERE f2.id_o = 7778
         GROUP BY f2.id) AS rate
 WHERE f.id = rate.id AND rate.price > 0;

COMMIT;
