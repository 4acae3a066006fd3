-- A department at full scale for the scale benchmark: 150 workers, 80 products in 4 groups, 12
-- operation kinds, 400 priced operations, two years of shift records (2025 and 2026, two records a
-- worker each working day, about 156 000 rows) and the timesheet of every month of them. The
-- person register holds the department's workers only; contractors.sql adds the enterprise. The
-- benchmark sets the number of workers in the variable workers (a smoke run takes a few).
insert into cmn_classifier.item (id, id_level, s_caption)
select 1000 + g, 2, 'Группа ' || g from generate_series(1, 4) g;
insert into accounts_dep.person (fio, s_staffpos_hl)
select 'Рабочий ' || lpad(w::text, 3, '0') || ' А.А.', 'Цех' from generate_series(1, :workers) w;
insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, id_class_item)
select 'Изделие ' || lpad(i::text, 2, '0'), '', 6, 0.5 + i * 0.25, 1001 + i % 4 from generate_series(1, 80) i;
insert into accounts_dep.vid_oper (vid) select 'Операция ' || k from generate_series(1, 12) k;
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select (select min(id) from accounts_dep.vid_oper) + o % 12, o % 2,
       (select min(id) from cmn_gds_and_srv.gds_and_srv) + o % 80, 0
from generate_series(0, 399) o;
create temp table ops as select id, i_id, (row_number() over (order by id) - 1)::int as rn from accounts_dep.oper;
insert into accounts_dep.smena (data, smena, w_id, i_id, o_id, cena, kol_vo, brak, color, time, ok, vvod,
                                prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
select d, 1 + p.id % 4, p.id, o.i_id, o.id, 1.25 + (o.rn % 7) * 0.5, 40 + r, r, (p.id + r) % 3, 4,
       case when r = 0 then 'no' else 'ok' end, d, 0, 0, 0, 0, 0, 0
from generate_series(date '2025-01-01', date '2026-12-31', interval '1 day') d, accounts_dep.person p,
     generate_series(0, 1) r, ops o
where o.rn = (p.id * 7 + r * 13 + extract(doy from d)::int) % 400 and extract(isodow from d) < 6;
drop table ops;
-- The timesheet as the rebuild leaves it: per shift, worker and month the hours of each day.
insert into accounts_dep.h_tabel (smena, w_id, month, year, d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12,
                                  d13, d14, d15, d16, d17, d18, d19, d20, d21, d22, d23, d24, d25, d26,
                                  d27, d28, d29, d30, d31)
select smena, w_id, extract(month from data)::int, extract(year from data)::int,
       sum(time) filter (where extract(day from data) = 1), sum(time) filter (where extract(day from data) = 2),
       sum(time) filter (where extract(day from data) = 3), sum(time) filter (where extract(day from data) = 4),
       sum(time) filter (where extract(day from data) = 5), sum(time) filter (where extract(day from data) = 6),
       sum(time) filter (where extract(day from data) = 7), sum(time) filter (where extract(day from data) = 8),
       sum(time) filter (where extract(day from data) = 9), sum(time) filter (where extract(day from data) = 10),
       sum(time) filter (where extract(day from data) = 11), sum(time) filter (where extract(day from data) = 12),
       sum(time) filter (where extract(day from data) = 13), sum(time) filter (where extract(day from data) = 14),
       sum(time) filter (where extract(day from data) = 15), sum(time) filter (where extract(day from data) = 16),
       sum(time) filter (where extract(day from data) = 17), sum(time) filter (where extract(day from data) = 18),
       sum(time) filter (where extract(day from data) = 19), sum(time) filter (where extract(day from data) = 20),
       sum(time) filter (where extract(day from data) = 21), sum(time) filter (where extract(day from data) = 22),
       sum(time) filter (where extract(day from data) = 23), sum(time) filter (where extract(day from data) = 24),
       sum(time) filter (where extract(day from data) = 25), sum(time) filter (where extract(day from data) = 26),
       sum(time) filter (where extract(day from data) = 27), sum(time) filter (where extract(day from data) = 28),
       sum(time) filter (where extract(day from data) = 29), sum(time) filter (where extract(day from data) = 30),
       sum(time) filter (where extract(day from data) = 31)
from accounts_dep.smena
group by smena, w_id, extract(month from data), extract(year from data);
analyze;
