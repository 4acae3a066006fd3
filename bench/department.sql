-- A department at full scale for the benchmarks: 60 workers, 80 products in 4 groups, 12 operation
-- kinds, 400 priced operations, and two years of shift records (about 100 000 rows). contractors.sql
-- then fills the rest of the enterprise's person register. The benchmark sets the number of workers
-- and of days before today in the variables workers and days (a smoke run takes a few of each).
insert into cmn_classifier.item (id, id_level, s_caption)
select g, 2, 'Группа ' || g from generate_series(1, 4) g;
insert into accounts_dep.person (fio, s_staffpos_hl)
select 'Рабочий ' || lpad(w::text, 3, '0') || ' А.А.', 'Цех' from generate_series(1, :workers) w;
insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, id_class_item)
select 'Изделие-' || p, '', 6, 1 + p % 3, 1 + p % 4 from generate_series(1, 80) p;
insert into accounts_dep.vid_oper (vid) select 'Операция ' || k from generate_series(1, 12) k;
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select 1 + o % 12, o % 2, (select min(id) from cmn_gds_and_srv.gds_and_srv) + o % 80, 0
from generate_series(0, 399) o;
insert into accounts_dep.norm (o_id, norma, price, prize) select id, 100, 5 + id % 20, 0 from accounts_dep.oper;
insert into accounts_dep.smena (data, smena, w_id, i_id, o_id, cena, kol_vo, brak, color, time, ok, vvod,
                                prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
select d, 1 + w % 4, w, o.i_id, o.id, 10, 50, 1, r, 3, case when r = 0 then 'no' else 'ok' end, d, 0, 0, 0, 0, 0, 0
from generate_series(current_date - :days, current_date, interval '1 day') d,
     generate_series(1, :workers) w,
     generate_series(0, 1) r,
     lateral (select id, i_id from accounts_dep.oper where id = 1 + (w * 7 + r * 13 + extract(doy from d)::int) % 400) o
where extract(isodow from d) < 6;
analyze accounts_dep.smena, accounts_dep.oper, accounts_dep.norm, accounts_dep.person, cmn_contractor.person, cmn_gds_and_srv.gds_and_srv;
