-- Database schema of the piece-work accounting client.
--
-- Run once, as the database owner (role sys), inside an empty database:
--     psql -v ON_ERROR_STOP=1 -d <database> -f db/schema.sql
--
-- The program creates nothing itself; it expects every table below to exist.
-- Schema accounts_dep belongs to the program.  The other schemas stand for the
-- enterprise registers the program shares with other applications: the person
-- register, the classifier, the goods register, staff positions, departments
-- and roles.  Here they are created with just the columns the program uses.

SET client_min_messages = warning;

-- Dates in statement text are written day first (05.03.2024); every future
-- session of this database reads them so and prints dates in ISO form.
DO $$ BEGIN EXECUTE format('ALTER DATABASE %I SET DateStyle = %L', current_database(), 'ISO, DMY'); END $$;
SET DateStyle = 'ISO, DMY';

CREATE SCHEMA accounts_dep;
CREATE SCHEMA cmn_contractor;
CREATE SCHEMA cmn_classifier;
CREATE SCHEMA cmn_gds_and_srv;
CREATE SCHEMA hrms_staffpos;
CREATE SCHEMA cmn_department;
CREATE SCHEMA adm_role;

-- Type names of the enterprise database; statements cast to them unqualified
-- (s_code::t_id, s_code::t_integer).
CREATE DOMAIN public.t_id AS numeric(15,0);
CREATE DOMAIN public.t_integer AS integer;


-- ---------------------------------------------------------------------------
-- Enterprise registers
-- ---------------------------------------------------------------------------

-- Classifier.  Items of id_level 2 are the nomenclature groups offered for
-- products and utility works.
CREATE TABLE cmn_classifier.item (
    id              t_id PRIMARY KEY,
    id_classifier   t_id,
    id_level        t_id,
    id_parent       t_id,
    s_code          varchar(254),
    s_caption       varchar(254),
    s_description   varchar(4000),
    b_excluded      varchar(5),
    d_excluded_date date
);
CREATE INDEX item_level_idx ON cmn_classifier.item (id_level);

-- Goods register.  Products are inserted, changed and deleted here by the
-- product editor; accounts_dep.izdel is the program's view of it.
CREATE SEQUENCE cmn_gds_and_srv.gds_and_srv_id_seq AS bigint;

CREATE TABLE cmn_gds_and_srv.gds_and_srv (
    id              t_id PRIMARY KEY,
    s_caption       varchar(254),
    s_description   varchar(4000),
    id_msm_bs       t_id,
    massa           numeric(28,6),
    id_class_item   t_id
);
ALTER SEQUENCE cmn_gds_and_srv.gds_and_srv_id_seq OWNED BY cmn_gds_and_srv.gds_and_srv.id;

-- Product id 7777 is reserved for utility work, and rows may be written with
-- explicit ids; the generated key steps over both.
CREATE FUNCTION cmn_gds_and_srv.next_gds_and_srv_id() RETURNS t_id
LANGUAGE plpgsql VOLATILE AS $$
DECLARE
    v bigint;
BEGIN
    LOOP
        v := nextval('cmn_gds_and_srv.gds_and_srv_id_seq');
        EXIT WHEN v <> 7777
              AND NOT EXISTS (SELECT 1 FROM cmn_gds_and_srv.gds_and_srv WHERE id = v);
    END LOOP;
    RETURN v;
END
$$;
ALTER TABLE cmn_gds_and_srv.gds_and_srv
    ALTER COLUMN id SET DEFAULT cmn_gds_and_srv.next_gds_and_srv_id();

-- Person register.  s_caption is the worker name shown by the journal, the
-- reports and the timesheet.  Statements match it to a worker by id or by
-- s_code cast to a number, so s_code always holds a number that fits an
-- integer.
CREATE TABLE cmn_contractor.person (
    id              t_id PRIMARY KEY,
    s_code          varchar(254)
        CONSTRAINT person_s_code_numeric CHECK (
            CASE WHEN s_code ~ '^[0-9]{1,10}$' THEN s_code::bigint <= 2147483647 ELSE false END),
    s_caption       varchar(254)
);
-- The journal names a worker by "(w_id=person.id or s_code::t_id=w_id)".  The
-- register holds every contractor of the enterprise (tens of thousands of
-- rows), so each half of that condition needs an index of its own: the
-- primary key serves the first, this one the second, and the planner combines
-- the two probes per shift record instead of reading the whole register for
-- each.  The expression must stay exactly s_code::t_id to be matched; the
-- check above keeps every s_code a number, so the cast cannot fail on insert.
CREATE INDEX person_s_code_t_id_idx ON cmn_contractor.person ((s_code::t_id));
-- The reports and the timesheet name a worker by "w_id=s_code::integer" (the
-- timesheet print by "s_code::t_integer", which the planner reads as the same
-- expression, t_integer being integer without a constraint).  Without an index
-- on that expression each of them hashes the whole register for every period
-- or month shown; with it the planner probes the register once per worker.
CREATE INDEX person_s_code_integer_idx ON cmn_contractor.person ((s_code::integer));

CREATE TABLE hrms_staffpos.staffpos (
    id              t_id PRIMARY KEY,
    id_department   t_id,
    s_code          varchar(254),
    s_caption       varchar(254),
    d_begin         date,
    d_end           date,
    s_description   varchar(4000)
);

CREATE TABLE cmn_department.department (
    id              t_id PRIMARY KEY,
    id_branch       t_id,
    id_parent       t_id,
    s_code          varchar(254),
    s_caption       varchar(254),
    s_description   varchar(4000)
);

CREATE TABLE adm_role.roles (
    id              t_id PRIMARY KEY,
    s_name          varchar(30),
    s_caption       varchar(254),
    d_begin         date,
    d_end           date,
    b_active        varchar(5)
);


-- ---------------------------------------------------------------------------
-- accounts_dep: the program's own tables
-- ---------------------------------------------------------------------------

-- Workers.  Shift records and utility works store id as w_id / id_p.
CREATE TABLE accounts_dep.person (
    id              integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    fio             varchar(254),
    s_staffpos_hl   varchar(254)
);

-- Every worker has his row in the person register with the same id and with
-- s_code = his id, named by fio.  That row is what names him in the journal
-- ("w_id=person.id or s_code::t_id=w_id"), the reports ("w_id=s_code::integer")
-- and the timesheet ("h_tabel.w_id=person.s_code::integer").
CREATE FUNCTION accounts_dep.person_to_register() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP = 'DELETE' THEN
        DELETE FROM cmn_contractor.person WHERE id = OLD.id;
        RETURN OLD;
    END IF;
    IF TG_OP = 'UPDATE' AND NEW.id <> OLD.id THEN
        DELETE FROM cmn_contractor.person WHERE id = OLD.id;
    END IF;
    INSERT INTO cmn_contractor.person (id, s_code, s_caption)
    VALUES (NEW.id, NEW.id::text, NEW.fio)
    ON CONFLICT (id) DO UPDATE
        SET s_code = EXCLUDED.s_code, s_caption = EXCLUDED.s_caption;
    RETURN NEW;
END
$$;

CREATE TRIGGER person_to_register
    AFTER INSERT OR UPDATE OR DELETE ON accounts_dep.person
    FOR EACH ROW EXECUTE FUNCTION accounts_dep.person_to_register();

-- After the worker table is emptied, drop the register rows that named its
-- workers, so no later worker inherits a stale name.
CREATE FUNCTION accounts_dep.person_truncate_register() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    DELETE FROM cmn_contractor.person r
     WHERE NOT EXISTS (SELECT 1 FROM accounts_dep.person p WHERE p.id = r.id);
    RETURN NULL;
END
$$;

CREATE TRIGGER person_truncate_register
    AFTER TRUNCATE ON accounts_dep.person
    FOR EACH STATEMENT EXECUTE FUNCTION accounts_dep.person_truncate_register();

-- Operation kinds.  The name is blank-padded to 128 characters; readers trim it.
-- Ids 7777 and 7778 are the two kinds of utility work (7778 is paid at the
-- average piece rate); the schema writes them with explicit ids at its end,
-- and the generated key never hands them out.
CREATE SEQUENCE accounts_dep.vid_oper_id_seq AS integer;

CREATE TABLE accounts_dep.vid_oper (
    id              integer PRIMARY KEY,
    vid             char(128)
);
ALTER SEQUENCE accounts_dep.vid_oper_id_seq OWNED BY accounts_dep.vid_oper.id;

CREATE FUNCTION accounts_dep.next_vid_oper_id() RETURNS integer
LANGUAGE plpgsql VOLATILE AS $$
DECLARE
    v integer;
BEGIN
    LOOP
        v := nextval('accounts_dep.vid_oper_id_seq');
        EXIT WHEN v NOT IN (7777, 7778)
              AND NOT EXISTS (SELECT 1 FROM accounts_dep.vid_oper WHERE id = v);
    END LOOP;
    RETURN v;
END
$$;
ALTER TABLE accounts_dep.vid_oper
    ALTER COLUMN id SET DEFAULT accounts_dep.next_vid_oper_id();

-- Products as the program sees the goods register: mark, group name (nom)
-- and per-piece factor.  A product without a group is listed with nom NULL.
CREATE VIEW accounts_dep.izdel AS
SELECT g.id,
       g.s_caption::varchar(254)  AS marka,
       grp.s_caption::varchar(255) AS nom,
       g.massa,
       g.id_class_item
  FROM cmn_gds_and_srv.gds_and_srv g
  LEFT JOIN cmn_classifier.item grp ON grp.id = g.id_class_item;

-- Priced operations: one product, one operation kind, one product type
-- (naimen 0 finished products, any other value blanks).  The working price is
-- the lowest price among the operation's norms.  i_id is not tied to the goods
-- register by a key: a product may be deleted while its price rows are kept.
CREATE TABLE accounts_dep.oper (
    id              integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    vid             integer REFERENCES accounts_dep.vid_oper (id),
    naimen          smallint,
    i_id            integer,
    cena_new        numeric(19,4)
);
CREATE INDEX oper_i_id_idx ON accounts_dep.oper (i_id);
CREATE INDEX oper_vid_idx ON accounts_dep.oper (vid);

-- Norms of a priced operation.  An operation is deleted without its norms,
-- so o_id carries no key.
CREATE TABLE accounts_dep.norm (
    id              integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    o_id            integer,
    norma           integer,
    price           double precision,
    prize           integer
);
CREATE INDEX norm_o_id_idx ON accounts_dep.norm (o_id);

-- Shift records: one row per worker, priced operation, product, date, shift
-- and colour.  smena 1..3 are the shifts, 4 is overtime.  ok is 'no' until the
-- output is accepted ('ok', or 'да' in older data).  Good pieces are
-- kol_vo - brak; a record earns (kol_vo - brak) * cena.  A worker with shift
-- records cannot be deleted.
CREATE TABLE accounts_dep.smena (
    id              integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    data            date,
    smena           smallint,
    w_id            integer REFERENCES accounts_dep.person (id),
    i_id            integer,
    o_id            integer,
    cena            double precision,
    kol_vo          integer,
    brak            smallint,
    color           integer,
    time            integer,
    ok              varchar(2),
    vvod            timestamp,
    prize           double precision,
    id_doc          t_id,
    id_doc_item     t_id,
    f_gds_qty_use   double precision,
    id_gds_use      t_id,
    id_cons_use     t_id
);
-- A shift record names its priced operation by o_id, and the journal and the reports find the
-- record's kind and price through that operation: a record whose operation is gone drops out of
-- them, and the worker's pay with it.  Older databases may hold records of operations deleted
-- long ago, so o_id carries no key; this trigger keeps the promise from now on: a priced operation
-- with shift records is neither deleted nor renumbered.  It is checked when the transaction ends,
-- so a transaction that deletes an operation together with its records (a product and all it
-- owns) goes through.  An operation without records is deleted as before, its norms left as they
-- are.
CREATE FUNCTION accounts_dep.oper_keep_smena() RETURNS trigger
LANGUAGE plpgsql AS $$
DECLARE
    caption text;
BEGIN
    IF TG_OP = 'UPDATE' AND NEW.id = OLD.id THEN
        RETURN NULL;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM accounts_dep.smena WHERE o_id = OLD.id) THEN
        RETURN NULL;
    END IF;
    -- Named as the record editor names it: mark; kind; product type.
    caption := concat_ws('; ',
        (SELECT trim(marka) FROM accounts_dep.izdel WHERE id = OLD.i_id),
        (SELECT trim(vid) FROM accounts_dep.vid_oper WHERE id = OLD.vid),
        CASE OLD.naimen WHEN 0 THEN 'Готовая продукция' ELSE 'Заготовки' END);
    IF TG_OP = 'DELETE' THEN
        RAISE EXCEPTION 'Операцию "%" нельзя удалить: по ней записаны смены', caption
            USING ERRCODE = 'foreign_key_violation';
    END IF;
    RAISE EXCEPTION 'Код операции "%" нельзя изменить: по ней записаны смены', caption
        USING ERRCODE = 'foreign_key_violation';
END
$$;

CREATE CONSTRAINT TRIGGER oper_keep_smena
    AFTER DELETE OR UPDATE OF id ON accounts_dep.oper
    DEFERRABLE INITIALLY DEFERRED
    FOR EACH ROW EXECUTE FUNCTION accounts_dep.oper_keep_smena();

CREATE INDEX smena_data_smena_idx ON accounts_dep.smena (data, smena);
CREATE INDEX smena_i_id_idx ON accounts_dep.smena (i_id);
CREATE INDEX smena_o_id_idx ON accounts_dep.smena (o_id);
CREATE INDEX smena_w_id_data_idx ON accounts_dep.smena (w_id, data);

-- Monthly timesheet: one row per shift, worker, month and year; dN holds the
-- hours of day N (the sum of time of the worker's records of that day and
-- shift), NULL for a day without records.  Derived from the shift records and
-- rebuilt from them at will.
CREATE TABLE accounts_dep.h_tabel (
    id              integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    w_id            integer,
    smena           integer,
    month           integer,
    year            integer,
    d1  integer, d2  integer, d3  integer, d4  integer, d5  integer,
    d6  integer, d7  integer, d8  integer, d9  integer, d10 integer,
    d11 integer, d12 integer, d13 integer, d14 integer, d15 integer,
    d16 integer, d17 integer, d18 integer, d19 integer, d20 integer,
    d21 integer, d22 integer, d23 integer, d24 integer, d25 integer,
    d26 integer, d27 integer, d28 integer, d29 integer, d30 integer,
    d31 integer,
    -- One row per worker, shift, month and year, whichever workstation writes it first.
    CONSTRAINT h_tabel_smena_w_id_month_year_key UNIQUE (smena, w_id, month, year)
);
CREATE INDEX h_tabel_year_month_smena_idx ON accounts_dep.h_tabel (year, month, smena);
CREATE INDEX h_tabel_w_id_idx ON accounts_dep.h_tabel (w_id);

-- Utility works: hours of non-production work booked against a nomenclature
-- group (id_nom) and paid at price per hour; id_o is kind 7777 (fixed price)
-- or 7778 (the worker's average piece rate of the month).  i_smena is always 1.
CREATE TABLE accounts_dep.fatigue (
    id              integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    id_nom          t_id,
    id_o            t_id,
    id_p            t_id,
    d_date          date,
    i_mnth          integer,
    i_year          integer,
    i_smena         integer,
    cnt             integer,
    price           numeric(15,4)
);
CREATE INDEX fatigue_d_date_idx ON accounts_dep.fatigue (d_date);
CREATE INDEX fatigue_period_idx ON accounts_dep.fatigue (i_year, i_mnth);
CREATE INDEX fatigue_id_p_idx ON accounts_dep.fatigue (id_p);

-- id_p names a worker (accounts_dep.person.id), but as numeric(15,0) beside
-- an integer key, so a foreign key cannot join the two.  These triggers keep
-- the same promise: a worker with utility works is not deleted (nor renumbered),
-- and a utility work names an existing worker.  A NULL id_p, as under a
-- foreign key, is let through.  The worker row is locked for key share, as a
-- foreign key would, so a concurrent delete waits for the work's transaction
-- and then sees the work.
CREATE FUNCTION accounts_dep.fatigue_person_exists() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    IF NEW.id_p IS NULL THEN
        RETURN NEW;
    END IF;
    IF TG_OP = 'UPDATE' AND NEW.id_p = OLD.id_p THEN
        RETURN NEW;
    END IF;
    -- Compared as integer, so the worker key's index serves the look-up.
    IF NEW.id_p NOT BETWEEN -2147483648 AND 2147483647
       OR NOT EXISTS (SELECT 1 FROM accounts_dep.person
                       WHERE id = NEW.id_p::integer FOR KEY SHARE) THEN
        RAISE EXCEPTION 'Хоз. работа не записана: работника с кодом % нет в списке рабочих', NEW.id_p
            USING ERRCODE = 'foreign_key_violation';
    END IF;
    RETURN NEW;
END
$$;

CREATE TRIGGER fatigue_person_exists
    BEFORE INSERT OR UPDATE OF id_p ON accounts_dep.fatigue
    FOR EACH ROW EXECUTE FUNCTION accounts_dep.fatigue_person_exists();

CREATE FUNCTION accounts_dep.person_keep_fatigue() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP = 'UPDATE' AND NEW.id = OLD.id THEN
        RETURN NEW;
    END IF;
    IF EXISTS (SELECT 1 FROM accounts_dep.fatigue WHERE id_p = OLD.id) THEN
        IF TG_OP = 'DELETE' THEN
            RAISE EXCEPTION 'Работника "%" нельзя удалить: за ним записаны хоз. работы',
                coalesce(trim(OLD.fio), '') USING ERRCODE = 'foreign_key_violation';
        END IF;
        RAISE EXCEPTION 'Код работника "%" нельзя изменить: за ним записаны хоз. работы',
            coalesce(trim(OLD.fio), '') USING ERRCODE = 'foreign_key_violation';
    END IF;
    IF TG_OP = 'DELETE' THEN
        RETURN OLD;
    END IF;
    RETURN NEW;
END
$$;

CREATE TRIGGER person_keep_fatigue
    BEFORE DELETE OR UPDATE OF id ON accounts_dep.person
    FOR EACH ROW EXECUTE FUNCTION accounts_dep.person_keep_fatigue();

-- Version row shared by all workstations: build stamp (date YYYYMMDD, seconds
-- since midnight) of the newest build that has connected, and the decimal
-- separator for numbers written into statement text.
CREATE TABLE accounts_dep.ver (
    d               integer,
    t               integer,
    delim           varchar(255)
);
INSERT INTO accounts_dep.ver (d, t, delim) VALUES (0, 0, '.');


-- ---------------------------------------------------------------------------
-- Utility works: the rows every database needs
-- ---------------------------------------------------------------------------

-- The two kinds of utility work and product 7777 carry their prices per hour:
-- each kind has a priced operation of product 7777 with one norm.  The
-- utility works list lists only while such operations exist, and the entry
-- window offers a kind only through its norm, so these rows come with the
-- schema.  The price starts at 0; the planner sets the real hourly price in
-- the norms window.  Kind and product ids are given explicitly (the generated
-- keys of both tables step over them); the operations and norms take
-- generated keys, so their sequences stay in step with the rows.
INSERT INTO accounts_dep.vid_oper (id, vid) VALUES
    (7777, 'Хоз. работы'),
    (7778, 'Хоз. работы (среднесдельная)');

INSERT INTO cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa, id_class_item)
VALUES (7777, 'Хоз. работы', '', 6, 0, NULL);

INSERT INTO accounts_dep.oper (vid, naimen, i_id, cena_new)
SELECT k, 0, 7777, 0 FROM (VALUES (7777), (7778)) AS kinds(k) ORDER BY k;

INSERT INTO accounts_dep.norm (o_id, norma, price, prize)
SELECT o.id, 1, 0, 0 FROM accounts_dep.oper o WHERE o.i_id = 7777 ORDER BY o.vid;
