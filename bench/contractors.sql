-- The rest of the enterprise: 50 000 contractors in the person register beside the department's
-- workers, with their own ids and personnel numbers (s_code), none of them a worker of the
-- department. Their ids start at 1 000 000 000 and their s_code at 100 001, so no statement's
-- match by id or by s_code can take one for a worker. The benchmark sets their number in the
-- variable contractors (a smoke run takes a few).
insert into cmn_contractor.person (id, s_code, s_caption)
select 1000000000 + c, (100000 + c)::text, 'Контрагент ' || lpad(c::text, 5, '0')
from generate_series(1, :contractors) c;
analyze cmn_contractor.person;
