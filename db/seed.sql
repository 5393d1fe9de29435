-- Data of a freshly installed database. Load after the schema of the
-- engine (schema.sqlite.sql or schema.pgsql.sql). The statements are plain
-- standard SQL and run unchanged on both engines.
--
-- Booleans are 0/1. Multi-line lists carry real line feeds inside their
-- literals (one entry per line, no trailing line feed), because escape-string
-- syntax and char()/chr() differ between the engines.

-- The single company row, which the user fills in from the company dialog.
INSERT INTO Company (Id, CompanyName, Manager, Tel, Fax, Address, Zip, Profile, UseCount, Updated)
VALUES (1, '我的公司', '', '', '', '', '', '', 0, 0);

-- The superuser. It passes every rights test, so it needs no rights string.
-- It starts with an empty password: set one after the first login.
INSERT INTO operator (LoginId, Password, Name, Contact, Note, Rights, XRights)
VALUES ('sa', '', '系统管理员', '', '', '', '');

-- Settings. Rows are written the way the setters write them: a boolean key
-- has Vstr '', Vint 0, Vfloat 0, an integer or text key has Vbool 1 and the
-- other value columns empty or 0.
-- 1: show the tip of the day at start-up.
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (1, '', 0, 0, 1);
-- 17-24: which groups the main window's tree shows. Departments, posts,
-- education and employment form are what most users browse by, the others
-- can be switched on from the list options.
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (17, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (18, '', 0, 0, 0);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (19, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (20, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (21, '', 0, 0, 0);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (22, '', 0, 0, 0);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (23, '', 0, 0, 0);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (24, '', 0, 0, 1);
-- 101-118: captions of the free fields S1-S12, F1-F3, D1-D3. Empty shows the
-- field name.
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (101, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (102, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (103, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (104, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (105, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (106, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (107, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (108, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (109, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (110, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (111, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (112, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (113, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (114, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (115, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (116, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (117, '', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (118, '', 0, 0, 1);
-- 122, 123: days ahead that contract and certificate expiries are reminded.
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (122, '', 30, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (123, '', 30, 0, 1);
-- 125-128: captions of archive number, post, political status and employment
-- form, which users rename to their own terms.
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (125, '档案号', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (126, '岗位', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (127, '政貌', 0, 0, 1);
INSERT INTO keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) VALUES (128, '用工形式', 0, 0, 1);

-- Pick lists. Keys 0-30 are addressed by position, which equals the key here,
-- so keep them gapless. The labels of 1, 3, 4 and 7 are also looked up by
-- text and must stay exactly 学历, 职称, 婚姻 and 学位. Positions without a
-- use are kept as empty spare rows so the option editor finds all 31.
INSERT INTO options (Key, Label, List) VALUES (0, '民族', '汉族
蒙古族
回族
藏族
维吾尔族
苗族
彝族
壮族
布依族
朝鲜族
满族
侗族
瑶族
白族
土家族
哈尼族
哈萨克族
傣族
黎族
傈僳族
佤族
畲族
高山族
拉祜族
水族
东乡族
纳西族
景颇族
柯尔克孜族
土族
达斡尔族
仫佬族
羌族
布朗族
撒拉族
毛南族
仡佬族
锡伯族
阿昌族
普米族
塔吉克族
怒族
乌孜别克族
俄罗斯族
鄂温克族
德昂族
保安族
裕固族
京族
塔塔尔族
独龙族
鄂伦春族
赫哲族
门巴族
珞巴族
基诺族');
INSERT INTO options (Key, Label, List) VALUES (1, '学历', '博士研究生
硕士研究生
本科
大专
中专
技校
高中
初中
小学
其他');
INSERT INTO options (Key, Label, List) VALUES (2, '岗位', '总经理
副总经理
部门经理
部门副经理
主管
组长
工程师
技术员
会计
出纳
文员
行政专员
人事专员
销售代表
采购员
仓管员
质检员
操作工
司机
保安
保洁员');
INSERT INTO options (Key, Label, List) VALUES (3, '职称', '正高级工程师
高级工程师
工程师
助理工程师
技术员
高级会计师
会计师
助理会计师
会计员
高级经济师
经济师
助理经济师
高级政工师
政工师
无');
INSERT INTO options (Key, Label, List) VALUES (4, '婚姻', '未婚
已婚
离异
丧偶');
INSERT INTO options (Key, Label, List) VALUES (5, '来源', '社会招聘
校园招聘
内部推荐
人才市场
网络招聘
猎头推荐
劳务派遣
退伍安置
其他');
INSERT INTO options (Key, Label, List) VALUES (6, '政貌', '中共党员
中共预备党员
共青团员
民主党派
无党派人士
群众');
INSERT INTO options (Key, Label, List) VALUES (7, '学位', '博士
硕士
学士
无');
INSERT INTO options (Key, Label, List) VALUES (8, '用工形式', '正式工
合同工
劳务派遣
临时工
实习生
退休返聘
兼职');
INSERT INTO options (Key, Label, List) VALUES (9, '批准人', '董事长
总经理
副总经理
人事经理
部门经理');
INSERT INTO options (Key, Label, List) VALUES (10, '调职原因', '工作需要
个人申请
晋升
降职
轮岗
机构调整
考核调整');
INSERT INTO options (Key, Label, List) VALUES (11, '奖惩类别', '嘉奖
表彰
记功
记大功
晋级
奖金奖励
警告
严重警告
记过
记大过
降级
撤职
留用察看
开除');
INSERT INTO options (Key, Label, List) VALUES (12, '备用12', '');
INSERT INTO options (Key, Label, List) VALUES (13, '离职类型', '辞职
辞退
合同期满
协商解除
开除
自动离职
退休
调离
其他');
INSERT INTO options (Key, Label, List) VALUES (14, '备用14', '');
INSERT INTO options (Key, Label, List) VALUES (15, '休假类型', '年假
病假
事假
婚假
产假
陪产假
丧假
探亲假
工伤假
调休');
INSERT INTO options (Key, Label, List) VALUES (16, '备用16', '');
INSERT INTO options (Key, Label, List) VALUES (17, '备用17', '');
INSERT INTO options (Key, Label, List) VALUES (18, '备用18', '');
INSERT INTO options (Key, Label, List) VALUES (19, '备用19', '');
INSERT INTO options (Key, Label, List) VALUES (20, '备用20', '');
INSERT INTO options (Key, Label, List) VALUES (21, '备用21', '');
INSERT INTO options (Key, Label, List) VALUES (22, '备用22', '');
INSERT INTO options (Key, Label, List) VALUES (23, '备用23', '');
INSERT INTO options (Key, Label, List) VALUES (24, '备用24', '');
INSERT INTO options (Key, Label, List) VALUES (25, '岗次', '一岗
二岗
三岗
四岗
五岗
六岗
七岗
八岗');
-- Post-grade and skill-grade standards are amounts: keep them numeric.
INSERT INTO options (Key, Label, List) VALUES (26, '岗次标准', '800
1000
1200
1500
1800
2000
2500
3000');
INSERT INTO options (Key, Label, List) VALUES (27, '技能', '初级工
中级工
高级工
技师
高级技师');
INSERT INTO options (Key, Label, List) VALUES (28, '技能标准', '200
300
500
800
1000');
INSERT INTO options (Key, Label, List) VALUES (29, '备用29', '');
INSERT INTO options (Key, Label, List) VALUES (30, '备用30', '');
-- Lists addressed by label only. Their keys follow the positional block.
INSERT INTO options (Key, Label, List) VALUES (31, '考核类别', '月度考核
季度考核
半年考核
年度考核
试用期考核
晋升考核
专项考核');
INSERT INTO options (Key, Label, List) VALUES (32, '考核等级', '优秀
良好
合格
基本合格
不合格');
INSERT INTO options (Key, Label, List) VALUES (33, '考核期间', '第一季度
第二季度
第三季度
第四季度
上半年
下半年
全年');

-- Age brackets for the head-count statistics. A bracket holds Agemin <= age
-- < Agemax.
INSERT INTO agecount (Id, ItemName, Agemin, Agemax) VALUES (1, '20岁以下', 0, 20);
INSERT INTO agecount (Id, ItemName, Agemin, Agemax) VALUES (2, '20-29岁', 20, 30);
INSERT INTO agecount (Id, ItemName, Agemin, Agemax) VALUES (3, '30-39岁', 30, 40);
INSERT INTO agecount (Id, ItemName, Agemin, Agemax) VALUES (4, '40-49岁', 40, 50);
INSERT INTO agecount (Id, ItemName, Agemin, Agemax) VALUES (5, '50-59岁', 50, 60);
INSERT INTO agecount (Id, ItemName, Agemin, Agemax) VALUES (6, '60岁以上', 60, 200);

-- Backup schedule: no automatic backup, no folder chosen yet.
INSERT INTO backup (TypeId, BackDir) VALUES (0, '');
