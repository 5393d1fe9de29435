-- Personnel records database, PostgreSQL 15 edition.
--
-- The program never creates, alters or drops tables: load this file into an
-- empty database once (psql -v ON_ERROR_STOP=1 -f), then db/seed.sql.
--
-- Names are unquoted on purpose. PostgreSQL folds them to lower case, and the
-- program's SQL spells them in mixed case (Joindate and JoinDate, Employee and
-- employee), which then all resolve to the same object. Never quote them.
-- Types follow the SQLite edition column for column:
--   dates    TIMESTAMP(0), whole seconds like the text form the SQLite
--            edition stores
--   booleans SMALLINT holding 0 or 1, never boolean: the program binds
--            integers and tests abs(col)=1, which a boolean column rejects
--   numbers  DOUBLE PRECISION, long texts TEXT, pictures and templates BYTEA
-- Keys are assigned by the program as max + 1, so no column has a sequence.
-- No foreign keys: the program does its own cascade deletes.

-- ---------------------------------------------------------------- personnel

-- JoutId is the Id of the current dismissal in empjout, NULL while employed.
-- S1-S12, F1-F3 and D1-D3 are free fields whose captions the user sets
-- (settings 101-118).
CREATE TABLE employee (
    Id INTEGER NOT NULL PRIMARY KEY,
    JoutId INTEGER,
    Name VARCHAR(30),
    NickName VARCHAR(30),
    Sex VARCHAR(4),
    BirthPlace VARCHAR(50),
    Birthday TIMESTAMP(0),
    Native VARCHAR(40),
    Hukou VARCHAR(50),
    Address VARCHAR(50),
    Milivice VARCHAR(20),
    IsMry VARCHAR(4),
    Stature INTEGER,
    Bloodtype VARCHAR(10),
    Religion VARCHAR(20),
    Folk VARCHAR(20),
    Diploma VARCHAR(10),
    Degree VARCHAR(10),
    Party VARCHAR(20),
    JobTitle VARCHAR(20),
    IdCode VARCHAR(50),
    Tel VARCHAR(50),
    School VARCHAR(50),
    GraduateDate TIMESTAMP(0),
    Specialty VARCHAR(50),
    Biography TEXT,
    SocialRelation TEXT,
    Rewards TEXT,
    Techtitles TEXT,
    Training TEXT,
    OtherNote TEXT,
    S1 VARCHAR(50),
    S2 VARCHAR(50),
    S3 VARCHAR(50),
    S4 VARCHAR(50),
    S5 VARCHAR(50),
    S6 VARCHAR(50),
    S7 VARCHAR(50),
    S8 VARCHAR(50),
    S9 VARCHAR(50),
    S10 VARCHAR(50),
    S11 VARCHAR(50),
    S12 VARCHAR(50),
    F1 DOUBLE PRECISION,
    F2 DOUBLE PRECISION,
    F3 DOUBLE PRECISION,
    D1 TIMESTAMP(0),
    D2 TIMESTAMP(0),
    D3 TIMESTAMP(0)
);

-- One row per employee who is or was employed, EmpId = employee.Id.
CREATE TABLE empjoin (
    EmpId INTEGER NOT NULL PRIMARY KEY,
    Code VARCHAR(20),
    BankId VARCHAR(50),
    YangBaoId VARCHAR(50),
    YiBaoId VARCHAR(50),
    Jointype VARCHAR(20),
    JoinDate TIMESTAMP(0),
    EmployType VARCHAR(20),
    ComeFrom VARCHAR(50),
    JoinDeptId VARCHAR(50),
    JoinDuty VARCHAR(50),
    Joinmarks TEXT,
    DutyDeptId VARCHAR(50),
    DutyName VARCHAR(50),
    DutyDate TIMESTAMP(0),
    Gangchi VARCHAR(50),
    GangchiBZ DOUBLE PRECISION,
    Jineng VARCHAR(50),
    JinengBZ DOUBLE PRECISION
);

CREATE TABLE empjout (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    OutDutyDate TIMESTAMP(0),
    OutDeptId VARCHAR(50),
    OutDuty VARCHAR(50),
    Disdate TIMESTAMP(0),
    Distype VARCHAR(20),
    Disman VARCHAR(20),
    Dismarks TEXT
);

-- At most one return per dismissal, hence keyed by the dismissal.
CREATE TABLE empback (
    JoutId INTEGER NOT NULL PRIMARY KEY,
    Backdate TIMESTAMP(0),
    BackDeptId VARCHAR(50),
    BackDuty VARCHAR(50),
    Backman VARCHAR(20),
    Backmarks TEXT
);

CREATE TABLE emptrials (
    EmpId INTEGER NOT NULL PRIMARY KEY,
    TryJob VARCHAR(50),
    TryDate1 TIMESTAMP(0),
    TryDate2 TIMESTAMP(0),
    TryWage DOUBLE PRECISION,
    TryPlan TEXT,
    TestDate TIMESTAMP(0),
    Testman VARCHAR(30),
    TryResult TEXT
);

CREATE TABLE photo (
    EmpId INTEGER NOT NULL PRIMARY KEY,
    Ext VARCHAR(10),
    Photo BYTEA
);

CREATE TABLE empimages (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    Subject VARCHAR(30),
    Ext VARCHAR(20),
    Photo BYTEA
);

CREATE TABLE relationship (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    Name VARCHAR(30),
    Relation VARCHAR(20),
    Birthday TIMESTAMP(0),
    CompanyDuty VARCHAR(150),
    Note TEXT
);

CREATE TABLE workstory (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    BeginDate TIMESTAMP(0),
    EndDate TIMESTAMP(0),
    Company VARCHAR(50),
    Duty VARCHAR(50),
    Attester VARCHAR(30),
    Note TEXT
);

CREATE TABLE education (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    BeginDate TIMESTAMP(0),
    EndDate TIMESTAMP(0),
    School VARCHAR(50),
    Major VARCHAR(50),
    Attester VARCHAR(30),
    Note TEXT
);

-- The tree lives in the code alone: each level appends two digits to its
-- parent's code, so there is no parent column.
CREATE TABLE department (
    Code VARCHAR(50) NOT NULL PRIMARY KEY,
    Name VARCHAR(30),
    Manager VARCHAR(30),
    Tel VARCHAR(30),
    Fax VARCHAR(30),
    Address VARCHAR(50),
    Note VARCHAR(50)
);

-- ---------------------------------------------------------------- HR events

CREATE TABLE postmove (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    MoveDate TIMESTAMP(0),
    DeptId1 VARCHAR(50),
    DeptName1 VARCHAR(250),
    DeptId2 VARCHAR(50),
    DeptName2 VARCHAR(250),
    Duty1 VARCHAR(50),
    Duty2 VARCHAR(50),
    Sanctionman VARCHAR(50),
    MoveReason VARCHAR(250),
    MoveNote TEXT
);

-- The number of days is computed when listing, never stored.
CREATE TABLE vacation (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    Appdate TIMESTAMP(0),
    Typ VARCHAR(20),
    Bgndate TIMESTAMP(0),
    Endate TIMESTAMP(0),
    Sanctionman VARCHAR(30),
    Remarks TEXT,
    Termdate TIMESTAMP(0)
);

-- Invalidate NULL means an open-ended contract.
CREATE TABLE contracts (
    ContractId INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    ContractNo VARCHAR(50),
    ContractName VARCHAR(50),
    ContractType VARCHAR(50),
    Signdate TIMESTAMP(0),
    Validate TIMESTAMP(0),
    Invalidate TIMESTAMP(0),
    Contractmarks TEXT
);

CREATE TABLE certificates (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    CertCode VARCHAR(50),
    CertName VARCHAR(50),
    CertOrgan VARCHAR(50),
    ValidateFrom TIMESTAMP(0),
    ValidateTo TIMESTAMP(0),
    Notes TEXT,
    CertImage BYTEA
);

-- SanctionDept holds the approving department's full name, not its code.
CREATE TABLE rewards (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    Title VARCHAR(10),
    Contents TEXT,
    Reasons VARCHAR(150),
    GrantDate TIMESTAMP(0),
    CancelDate TIMESTAMP(0),
    CancelReason VARCHAR(150),
    SanctionDept VARCHAR(50),
    Sanctionman VARCHAR(30),
    Notes VARCHAR(250)
);

CREATE TABLE tests (
    Id INTEGER NOT NULL PRIMARY KEY,
    EmpId INTEGER,
    TesType VARCHAR(50),
    TesTerm VARCHAR(50),
    Testday TIMESTAMP(0),
    Tesmark DOUBLE PRECISION,
    Tesgrade VARCHAR(50),
    TesOpinion TEXT,
    Tesman VARCHAR(50),
    Tesnote VARCHAR(50)
);

CREATE TABLE TrainOrgans (
    OrganId INTEGER NOT NULL PRIMARY KEY,
    Organization VARCHAR(50),
    Organtype VARCHAR(50),
    Tel VARCHAR(50),
    Fax VARCHAR(50),
    Website VARCHAR(50),
    Addr VARCHAR(50),
    Linkman VARCHAR(50),
    LinkmanTel VARCHAR(50),
    LinkmanEmail VARCHAR(50),
    Notes TEXT
);

CREATE TABLE TrainCourses (
    CourseId INTEGER NOT NULL PRIMARY KEY,
    CourseName VARCHAR(50),
    CourseType VARCHAR(50),
    OrganId INTEGER,
    ForDept VARCHAR(50),
    ForObject VARCHAR(50),
    BeginDate TIMESTAMP(0),
    EndDate TIMESTAMP(0),
    CourseHours INTEGER,
    CourseFund DOUBLE PRECISION,
    CourseNotes TEXT
);

CREATE TABLE Trains (
    TrnId INTEGER NOT NULL PRIMARY KEY,
    TrnEmpid INTEGER,
    TrnEmpdept VARCHAR(50),
    TrnCourseId INTEGER,
    TrnPoint DOUBLE PRECISION,
    TrnGrade VARCHAR(50),
    TrnComment TEXT,
    TrnNotes TEXT,
    TrnLogdate TIMESTAMP(0)
);

CREATE TABLE Zpjobs (
    Id INTEGER NOT NULL PRIMARY KEY,
    JobName VARCHAR(50),
    Requirement TEXT,
    InviteWay VARCHAR(50),
    ForDept VARCHAR(50),
    Amount INTEGER,
    Confirmday TIMESTAMP(0),
    Beginday TIMESTAMP(0),
    Enday TIMESTAMP(0),
    Notes TEXT
);

-- The applicant is an employee row, with one application per applicant.
CREATE TABLE Zpapply (
    EmpId INTEGER NOT NULL PRIMARY KEY,
    JobId INTEGER,
    Faceday TIMESTAMP(0),
    Faceman VARCHAR(50),
    FaceContent TEXT,
    FaceResult TEXT,
    Checkman VARCHAR(50),
    Checkday TIMESTAMP(0),
    CheckWords VARCHAR(50),
    Notes TEXT
);

-- ---------------------------------------------------------------- salary
-- Each account set also has a sheet table of its own, named by
-- gz_account.Acountable (Id, MonthempId and one column f<item Id> per salary
-- item). Those come with the database that uses them and are not part of
-- this base schema.

CREATE TABLE gz_account (
    Id INTEGER NOT NULL PRIMARY KEY,
    AcountName VARCHAR(50),
    AcountNotes TEXT,
    Acountable VARCHAR(50),
    Active SMALLINT,
    Architect VARCHAR(50),
    Architime TIMESTAMP(0)
);

-- Id also names the item's column (f<Id>) in the sheet table.
-- FieldType: 0 number, 1 text, 2 integer.
CREATE TABLE gz_accountfields (
    Id INTEGER NOT NULL PRIMARY KEY,
    AcountId INTEGER,
    FieldType INTEGER,
    FieldLabel VARCHAR(50),
    FieldIndex INTEGER,
    FieldFormula TEXT,
    FieldNote TEXT,
    IsTotal SMALLINT,
    Xiaoshu INTEGER
);

-- EmpId leads the key because the program looks an employee's account set
-- up by EmpId alone.
CREATE TABLE gz_accountemp (
    AccountId INTEGER NOT NULL,
    EmpId INTEGER NOT NULL,
    PRIMARY KEY (EmpId, AccountId)
);

CREATE TABLE gz_month (
    Id INTEGER NOT NULL PRIMARY KEY,
    YearX INTEGER,
    MonthX INTEGER
);

CREATE TABLE gz_monthemp (
    Id INTEGER NOT NULL PRIMARY KEY,
    MonthId INTEGER,
    EmpId INTEGER,
    EmpDeptId VARCHAR(30),
    EmpDuty VARCHAR(50),
    EmployType VARCHAR(50),
    Joindate TIMESTAMP(0),
    Gangchi VARCHAR(50),
    GangchiBZ DOUBLE PRECISION,
    Jineng VARCHAR(50),
    JinengBZ DOUBLE PRECISION,
    Jijian DOUBLE PRECISION,
    MonthTotal DOUBLE PRECISION,
    MonthPayment DOUBLE PRECISION
);

-- Salary sheet visibility per operator. The program only reads these two,
-- and several rows per login are legitimate in gz_operatordepts, so neither
-- carries a key.
CREATE TABLE gz_operatorights (
    LoginId VARCHAR(20),
    AllDepts SMALLINT
);

CREATE TABLE gz_operatordepts (
    LoginId VARCHAR(20),
    DeptId VARCHAR(50)
);

-- ---------------------------------------------------------------- application

-- Password is wide enough for a salted hash, not only a plain password.
-- Rights is the ",n," string of granted rights, XRights holds name=value
-- lines restricting the departments the operator sees.
CREATE TABLE operator (
    LoginId VARCHAR(20) NOT NULL PRIMARY KEY,
    Password VARCHAR(200),
    Name VARCHAR(20),
    Contact VARCHAR(20),
    Note VARCHAR(20),
    Rights TEXT,
    XRights TEXT
);

-- A single row. UseCount is loaded with it but has no use.
CREATE TABLE Company (
    Id INTEGER NOT NULL PRIMARY KEY,
    CompanyName VARCHAR(100),
    Manager VARCHAR(50),
    Tel VARCHAR(50),
    Fax VARCHAR(50),
    Address VARCHAR(200),
    Zip VARCHAR(20),
    Profile TEXT,
    UseCount INTEGER,
    Updated SMALLINT
);

-- Typed settings. A setter writes all four value columns at once. A key that
-- was never written has NULLs, which read as 0, false and empty text.
CREATE TABLE keyvalue (
    KeyId INTEGER NOT NULL PRIMARY KEY,
    Vstr TEXT,
    Vint INTEGER,
    Vfloat DOUBLE PRECISION,
    Vbool SMALLINT
);

-- Drop-down lists, one entry per line of List. A list is addressed either by
-- its position in Key order (the option editor keeps 31 such rows) or by its
-- Label, so a label should name one list only.
CREATE TABLE options (
    Key INTEGER NOT NULL PRIMARY KEY,
    Label VARCHAR(20),
    List TEXT
);

CREATE TABLE report (
    Id INTEGER NOT NULL PRIMARY KEY,
    GrpId INTEGER,
    Title VARCHAR(20),
    Fr3File BYTEA
);

-- A bracket holds the ages a with Agemin <= a < Agemax.
CREATE TABLE agecount (
    Id INTEGER NOT NULL PRIMARY KEY,
    ItemName VARCHAR(50),
    Agemin INTEGER,
    Agemax INTEGER
);

-- Saved grid layouts: F02 is the layout key, F06 the layout text.
CREATE TABLE syscols (
    F02 INTEGER NOT NULL PRIMARY KEY,
    F06 TEXT
);

-- Exactly one row, updated without a WHERE clause, so no key.
-- TypeId: 0 never, 1 at every exit, 2 on Mondays, 3 on the first of a month.
CREATE TABLE backup (
    TypeId INTEGER,
    BackDir VARCHAR(255)
);

-- ---------------------------------------------------------------- indexes
-- The employee lists and the cascade delete of an employee reach every
-- history table by employee. With 100,000 employees these must not scan.

CREATE INDEX ix_empjout_EmpId ON empjout (EmpId);
CREATE INDEX ix_empimages_EmpId ON empimages (EmpId);
CREATE INDEX ix_relationship_EmpId ON relationship (EmpId);
CREATE INDEX ix_workstory_EmpId ON workstory (EmpId);
CREATE INDEX ix_education_EmpId ON education (EmpId);
CREATE INDEX ix_postmove_EmpId ON postmove (EmpId);
CREATE INDEX ix_vacation_EmpId ON vacation (EmpId);
CREATE INDEX ix_contracts_EmpId ON contracts (EmpId);
CREATE INDEX ix_certificates_EmpId ON certificates (EmpId);
CREATE INDEX ix_rewards_EmpId ON rewards (EmpId);
CREATE INDEX ix_tests_EmpId ON tests (EmpId);
CREATE INDEX ix_Trains_TrnEmpid ON Trains (TrnEmpid);
CREATE INDEX ix_gz_monthemp_EmpId ON gz_monthemp (EmpId);
-- A month's sheet is selected and cleared by MonthId, and the training list
-- joins its records to their courses.
CREATE INDEX ix_gz_monthemp_MonthId ON gz_monthemp (MonthId);
CREATE INDEX ix_Trains_TrnCourseId ON Trains (TrnCourseId);
