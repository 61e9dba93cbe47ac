-- A small billing database for the SQL data-source link (interface "ODBC"),
-- for PostgreSQL 15.
--
-- The link relies only on the tables WexalRouteList, WexalSelectedRoute and
-- WexalReading and on the four procedures below; BillingService and
-- BillingReading stand for the billing system's own data.
--
-- A reading is stored and applied once. A sync killed after the readings
-- reached this database, before the handheld marked the route uploaded,
-- hands the same readings in again at the next sync. A reading is known by
-- its handheld, service, reading date and time: storing one that already
-- waits is passed over (a trigger, as the link's INSERT is a plain one), and
-- applying or setting aside one taken before changes nothing.
--
-- The procedures are functions returning void: the ODBC driver turns the
-- link's "{Call name}" into "SELECT * FROM name()", which finds functions but
-- never PROCEDUREs. Names are unquoted, so PostgreSQL folds them to lower case
-- and any letter case in the link's texts finds them.
--
-- Load it into an empty database, e.g.  psql -d billing -f billing-postgres.sql
-- Running it again starts over with the sample data.

\set ON_ERROR_STOP on
SET client_min_messages = warning;

DROP FUNCTION IF EXISTS Build_WexalRouteList();
DROP FUNCTION IF EXISTS WexalSelectRoute(varchar);
DROP FUNCTION IF EXISTS WexalApplyReadings();
DROP FUNCTION IF EXISTS WexalFailReadings();
DROP TABLE IF EXISTS WexalRouteList, WexalSelectedRoute, WexalReading, WexalReadingAlternate,
                     BillingReading, BillingService;
DROP FUNCTION IF EXISTS WexalReadingOnce();

-- The billing system: one row per metered service, with its route ("book").
CREATE TABLE BillingService (
    ServiceUniqueID varchar(20) PRIMARY KEY,
    RouteBook       varchar(26) NOT NULL,
    RouteSequence   varchar(10) NOT NULL,
    MeterTagNbr     varchar(14) NOT NULL DEFAULT '',
    MeterSerialNbr  varchar(14) NOT NULL DEFAULT '',
    MeterType       varchar(1)  NOT NULL DEFAULT 'W',
    Digits          varchar(2)  NOT NULL DEFAULT '06',
    BillingName     varchar(60) NOT NULL DEFAULT '',
    ServiceAddress  varchar(60) NOT NULL DEFAULT '',
    Message         varchar(60),             -- a note for the reader, often none
    PrvReading      varchar(10) NOT NULL DEFAULT '0',
    MaxReading      varchar(10),
    MinReading      varchar(10),
    -- This cycle's reading: U not yet, R already read (by the office, say).
    ReadStatus      varchar(1)  NOT NULL DEFAULT 'U'
);
-- WexalSelectRoute selects one route's services at a time, and
-- Build_WexalRouteList lists the routes: without it both read every service.
CREATE INDEX BillingService_RouteBook ON BillingService (RouteBook);

-- Readings taken over by the billing system. Its constraints are what make
-- WexalApplyReadings refuse a batch: an unknown service, a reading that is
-- not a number, or a negative one.
CREATE TABLE BillingReading (
    ReadingId       serial PRIMARY KEY,
    ServiceUniqueID varchar(20) NOT NULL REFERENCES BillingService,
    Reading         numeric(12) CHECK (Reading >= 0),
    ReadingDate     varchar(6),
    ReadingTime     varchar(4),
    ReadStatus      varchar(1),
    ResponseCode    varchar(1),
    ResponseText    varchar(60),
    HandHeldID      text,
    AppliedAt       timestamp NOT NULL DEFAULT now(),
    -- A reading handed in twice is taken over once.
    CONSTRAINT BillingReading_once UNIQUE (HandHeldID, ServiceUniqueID, ReadingDate, ReadingTime)
);

-- The routes offered to the handhelds; Build_WexalRouteList refills it.
CREATE TABLE WexalRouteList (
    RouteBook varchar(26) NOT NULL
);

-- The meters of the route that WexalSelectRoute selected last.
CREATE TABLE WexalSelectedRoute (
    ServiceUniqueID varchar(20),
    MeterTagNbr     varchar(14),
    MeterSerialNbr  varchar(14),
    MeterType       varchar(1),
    RouteSequence   varchar(10),
    Digits          varchar(2),
    PrvReading      varchar(10),
    MaxReading      varchar(10),
    MinReading      varchar(10),
    CurReading      varchar(10),
    ReadingDate     varchar(6),
    ReadingTime     varchar(4),
    BillingName     varchar(60),
    ServiceAddress  varchar(60),
    Message         varchar(60),
    Status          varchar(1),
    ResponseCode    varchar(1),
    ResponseText    varchar(60)
);

-- Readings handed in by the handhelds, waiting for WexalApplyReadings.
-- ReadingId and ReceivedAt are left to the database.
CREATE TABLE WexalReading (
    ReadingId       serial PRIMARY KEY,
    HandHeldID      text        NOT NULL,
    ServiceUniqueID varchar(20) NOT NULL,
    MeterTagNbr     varchar(14) NOT NULL,
    MeterSerialNbr  varchar(14) NOT NULL,
    MeterType       varchar(1)  NOT NULL,
    RouteSequence   varchar(3)  NOT NULL,
    Digits          varchar(1)  NOT NULL,
    CurReading      varchar(6)  NOT NULL,
    BillingName     varchar(60) NOT NULL,
    ServiceAddress  varchar(60) NOT NULL,
    Message         varchar(60) NOT NULL,
    Status          varchar(1)  NOT NULL,
    ResponseCode    varchar(1)  NOT NULL,
    ResponseText    varchar(60) NOT NULL,
    PrvReading      varchar(6)  NOT NULL,
    MaxReading      varchar(6)  NOT NULL,
    MinReading      varchar(6)  NOT NULL,
    ReadingDate     varchar(6)  NOT NULL,
    ReadingTime     varchar(4)  NOT NULL,
    ReceivedAt      timestamp   NOT NULL DEFAULT now(),
    CONSTRAINT WexalReading_once UNIQUE (HandHeldID, ServiceUniqueID, ReadingDate, ReadingTime)
);

-- A row whose reading already waits is passed over rather than refused: the
-- sync that hands it in again goes on with the rest of its route.
CREATE FUNCTION WexalReadingOnce() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF EXISTS (SELECT 1 FROM WexalReading w
                WHERE w.HandHeldID = NEW.HandHeldID AND w.ServiceUniqueID = NEW.ServiceUniqueID
                  AND w.ReadingDate = NEW.ReadingDate AND w.ReadingTime = NEW.ReadingTime) THEN
        RETURN NULL;
    END IF;
    RETURN NEW;
END;
$$;
CREATE TRIGGER WexalReadingOnce BEFORE INSERT ON WexalReading
    FOR EACH ROW EXECUTE FUNCTION WexalReadingOnce();

-- The alternate table: readings that the billing system refused, kept for
-- the office to look at.
CREATE TABLE WexalReadingAlternate (LIKE WexalReading INCLUDING DEFAULTS);
ALTER TABLE WexalReadingAlternate ADD COLUMN FailedAt timestamp NOT NULL DEFAULT now();
ALTER TABLE WexalReadingAlternate ADD CONSTRAINT WexalReadingAlternate_once
    UNIQUE (HandHeldID, ServiceUniqueID, ReadingDate, ReadingTime);

CREATE FUNCTION Build_WexalRouteList() RETURNS void LANGUAGE sql AS $$
    DELETE FROM WexalRouteList;
    INSERT INTO WexalRouteList (RouteBook)
        SELECT DISTINCT RouteBook FROM BillingService ORDER BY RouteBook;
$$;

-- The route name arrives as a parameter: it is data, never SQL text.
CREATE FUNCTION WexalSelectRoute(route varchar) RETURNS void LANGUAGE sql AS $$
    DELETE FROM WexalSelectedRoute;
    INSERT INTO WexalSelectedRoute
        (ServiceUniqueID, MeterTagNbr, MeterSerialNbr, MeterType, RouteSequence, Digits,
         PrvReading, MaxReading, MinReading, CurReading, ReadingDate, ReadingTime,
         BillingName, ServiceAddress, Message, Status, ResponseCode, ResponseText)
    SELECT ServiceUniqueID, MeterTagNbr, MeterSerialNbr, MeterType, RouteSequence, Digits,
           PrvReading, MaxReading, MinReading, NULL, NULL, NULL,
           BillingName, ServiceAddress, Message, ReadStatus, NULL, NULL
      FROM BillingService
     WHERE RouteBook = route;
$$;

-- Takes every waiting reading over: all or none. One statement, so that it
-- removes exactly the readings it takes over: a reading another sync hands in
-- meanwhile waits for the next apply instead of being removed unapplied. A
-- reading taken over before is passed over, and only the readings taken over
-- now move their service's previous reading.
CREATE FUNCTION WexalApplyReadings() RETURNS void LANGUAGE sql AS $$
    WITH Waiting AS (
        DELETE FROM WexalReading RETURNING *),
    Taken AS (
        INSERT INTO BillingReading
            (ServiceUniqueID, Reading, ReadingDate, ReadingTime, ReadStatus, ResponseCode,
             ResponseText, HandHeldID)
        SELECT ServiceUniqueID, NULLIF(btrim(CurReading), '')::numeric, ReadingDate,
               ReadingTime, Status, ResponseCode, ResponseText, HandHeldID
          FROM Waiting
         ORDER BY ReadingId
        ON CONFLICT (HandHeldID, ServiceUniqueID, ReadingDate, ReadingTime) DO NOTHING
        RETURNING HandHeldID, ServiceUniqueID, ReadingDate, ReadingTime)
    UPDATE BillingService s
       SET PrvReading = r.CurReading
      FROM Taken t
      JOIN Waiting r USING (HandHeldID, ServiceUniqueID, ReadingDate, ReadingTime)
     WHERE r.ServiceUniqueID = s.ServiceUniqueID AND btrim(r.CurReading) <> '';
$$;

-- The fallback when the billing system refuses the readings: one statement,
-- as above.
CREATE FUNCTION WexalFailReadings() RETURNS void LANGUAGE sql AS $$
    WITH Waiting AS (
        DELETE FROM WexalReading RETURNING *)
    INSERT INTO WexalReadingAlternate
        (ReadingId, HandHeldID, ServiceUniqueID, MeterTagNbr, MeterSerialNbr, MeterType,
         RouteSequence, Digits, CurReading, BillingName, ServiceAddress, Message, Status,
         ResponseCode, ResponseText, PrvReading, MaxReading, MinReading, ReadingDate,
         ReadingTime, ReceivedAt)
    SELECT ReadingId, HandHeldID, ServiceUniqueID, MeterTagNbr, MeterSerialNbr, MeterType,
           RouteSequence, Digits, CurReading, BillingName, ServiceAddress, Message, Status,
           ResponseCode, ResponseText, PrvReading, MaxReading, MinReading, ReadingDate,
           ReadingTime, ReceivedAt
      FROM Waiting
     ORDER BY ReadingId
    ON CONFLICT (HandHeldID, ServiceUniqueID, ReadingDate, ReadingTime) DO NOTHING;
$$;

-- Sample data: three routes. Route "12 A" has a blank in its name; a few
-- meters have no message (NULL).
INSERT INTO BillingService
    (ServiceUniqueID, RouteBook, RouteSequence, MeterTagNbr, MeterSerialNbr, MeterType, Digits,
     BillingName, ServiceAddress, Message, PrvReading, MaxReading, MinReading)
VALUES
    ('100-0001', '01',   '010', 'T1001', 'S88001', 'W', '06', 'Harper, June',
     '12 Elm Street', 'Dog in yard', '004210', '004400', '004215'),
    ('100-0002', '01',   '020', 'T1002', 'S88002', 'W', '06', 'Okafor, Ben',
     '14 Elm Street', NULL, '012877', '013100', '012880'),
    ('100-0003', '01',   '030', 'T1003', 'S88003', 'E', '05', 'Lindqvist Bakery',
     '2 Mill Lane', 'Meter behind gate', '55012', '56000', '55020'),
    ('200-0001', '02',   '010', 'T2001', 'S90001', 'W', '06', 'Ruiz, Carmen',
     '7 Quarry Road', NULL, '000915', '001100', '000920'),
    ('200-0002', '02',   '020', 'T2002', 'S90002', 'W', '06', 'Patel, Anil',
     '9 Quarry Road', NULL, '003301', '003500', '003305'),
    ('300-0001', '12 A', '005', 'T3001', 'S91001', 'G', '04', 'Town Library',
     '1 Civic Square', 'Ask at front desk', '7710', '7900', '7712');
