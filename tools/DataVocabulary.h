#pragma once

// Word lists behind the data generator: names, places, schools and the
// wording of HR records, with rough real-world frequencies as weights. The
// pick-list values (民族, 学历, 岗位, ...) are spelled exactly as the shipped
// pick lists spell them, so generated rows group with hand-entered ones.
namespace DataVocabulary {

struct Weighted
{
    const char *text;
    int weight;
};

// The company sits in Suzhou; most staff are local or from the provinces
// that send the most migrant workers to the Yangtze delta.
struct Region
{
    const char *code; // administrative division code, the first six digits of an ID number
    const char *provinceShort;
    const char *province;
    const char *city;
    const char *district;
    int weight;
};

inline constexpr Region regions[] = {
    {"320505", "江苏", "江苏省", "苏州市", "虎丘区", 90},
    {"320506", "江苏", "江苏省", "苏州市", "吴中区", 80},
    {"320507", "江苏", "江苏省", "苏州市", "相城区", 50},
    {"320508", "江苏", "江苏省", "苏州市", "姑苏区", 60},
    {"320581", "江苏", "江苏省", "常熟市", "虞山街道", 25},
    {"320583", "江苏", "江苏省", "昆山市", "玉山镇", 30},
    {"320106", "江苏", "江苏省", "南京市", "鼓楼区", 15},
    {"320211", "江苏", "江苏省", "无锡市", "滨湖区", 15},
    {"320411", "江苏", "江苏省", "常州市", "新北区", 12},
    {"321302", "江苏", "江苏省", "宿迁市", "宿城区", 18},
    {"320302", "江苏", "江苏省", "徐州市", "鼓楼区", 15},
    {"320803", "江苏", "江苏省", "淮安市", "淮安区", 12},
    {"320703", "江苏", "江苏省", "连云港市", "连云区", 10},
    {"310115", "上海", "上海市", "上海市", "浦东新区", 10},
    {"330106", "浙江", "浙江省", "杭州市", "西湖区", 8},
    {"330402", "浙江", "浙江省", "嘉兴市", "南湖区", 6},
    {"341302", "安徽", "安徽省", "宿州市", "埇桥区", 25},
    {"341202", "安徽", "安徽省", "阜阳市", "颍州区", 25},
    {"340104", "安徽", "安徽省", "合肥市", "蜀山区", 10},
    {"340304", "安徽", "安徽省", "蚌埠市", "禹会区", 10},
    {"411302", "河南", "河南省", "南阳市", "宛城区", 20},
    {"411602", "河南", "河南省", "周口市", "川汇区", 20},
    {"410105", "河南", "河南省", "郑州市", "金水区", 8},
    {"411502", "河南", "河南省", "信阳市", "浉河区", 12},
    {"371302", "山东", "山东省", "临沂市", "兰山区", 12},
    {"370102", "山东", "山东省", "济南市", "历下区", 5},
    {"370202", "山东", "山东省", "青岛市", "市南区", 4},
    {"511302", "四川", "四川省", "南充市", "顺庆区", 15},
    {"510107", "四川", "四川省", "成都市", "武侯区", 6},
    {"511702", "四川", "四川省", "达州市", "通川区", 10},
    {"500103", "重庆", "重庆市", "重庆市", "渝中区", 8},
    {"431102", "湖南", "湖南省", "永州市", "零陵区", 10},
    {"430104", "湖南", "湖南省", "长沙市", "岳麓区", 5},
    {"430602", "湖南", "湖南省", "岳阳市", "岳阳楼区", 6},
    {"421002", "湖北", "湖北省", "荆州市", "沙市区", 8},
    {"420106", "湖北", "湖北省", "武汉市", "武昌区", 5},
    {"360702", "江西", "江西省", "赣州市", "章贡区", 10},
    {"360102", "江西", "江西省", "南昌市", "东湖区", 5},
    {"520102", "贵州", "贵州省", "贵阳市", "南明区", 6},
    {"530102", "云南", "云南省", "昆明市", "五华区", 3},
    {"450103", "广西", "广西壮族自治区", "南宁市", "青秀区", 5},
    {"610113", "陕西", "陕西省", "西安市", "雁塔区", 4},
    {"620102", "甘肃", "甘肃省", "兰州市", "城关区", 4},
    {"140105", "山西", "山西省", "太原市", "小店区", 3},
    {"130104", "河北", "河北省", "石家庄市", "桥西区", 3},
    {"210102", "辽宁", "辽宁省", "沈阳市", "和平区", 2},
    {"220102", "吉林", "吉林省", "长春市", "南关区", 2},
    {"230103", "黑龙江", "黑龙江省", "哈尔滨市", "南岗区", 3},
    {"150102", "内蒙古", "内蒙古自治区", "呼和浩特市", "新城区", 2},
    {"640104", "宁夏", "宁夏回族自治区", "银川市", "兴庆区", 1},
    {"650102", "新疆", "新疆维吾尔自治区", "乌鲁木齐市", "天山区", 2},
    {"110105", "北京", "北京市", "北京市", "朝阳区", 2},
    {"120101", "天津", "天津市", "天津市", "和平区", 1},
    {"350203", "福建", "福建省", "厦门市", "思明区", 2},
    {"440106", "广东", "广东省", "广州市", "天河区", 2},
    {"460105", "海南", "海南省", "海口市", "秀英区", 1},
};

// Where the staff live now.
inline constexpr const char *homeDistricts[]
    = {"虎丘区", "吴中区", "相城区", "姑苏区", "吴江区", "工业园区"};

// The most common surnames with their approximate share in tenths of a percent.
inline constexpr Weighted surnames[] = {
    {"王", 71},
    {"李", 70},
    {"张", 68},
    {"刘", 53},
    {"陈", 45},
    {"杨", 31},
    {"黄", 22},
    {"赵", 22},
    {"吴", 20},
    {"周", 19},
    {"徐", 16},
    {"孙", 15},
    {"马", 15},
    {"朱", 14},
    {"胡", 13},
    {"郭", 11},
    {"何", 11},
    {"高", 10},
    {"林", 10},
    {"罗", 10},
    {"郑", 9},
    {"梁", 9},
    {"谢", 8},
    {"宋", 7},
    {"唐", 7},
    {"许", 7},
    {"韩", 7},
    {"冯", 7},
    {"邓", 7},
    {"曹", 6},
    {"彭", 6},
    {"曾", 6},
    {"肖", 6},
    {"田", 5},
    {"董", 5},
    {"袁", 5},
    {"潘", 5},
    {"于", 5},
    {"蒋", 5},
    {"蔡", 5},
    {"余", 5},
    {"杜", 4},
    {"叶", 4},
    {"程", 4},
    {"苏", 4},
    {"魏", 4},
    {"吕", 4},
    {"丁", 4},
    {"任", 4},
    {"沈", 4},
    {"姚", 4},
    {"卢", 4},
    {"姜", 3},
    {"崔", 3},
    {"钟", 3},
    {"谭", 3},
    {"陆", 3},
    {"汪", 3},
    {"范", 3},
    {"金", 3},
    {"石", 3},
    {"廖", 3},
    {"贾", 3},
    {"夏", 3},
    {"韦", 3},
    {"付", 3},
    {"方", 3},
    {"白", 2},
    {"邹", 2},
    {"孟", 2},
    {"熊", 2},
    {"秦", 2},
    {"邱", 2},
    {"江", 2},
    {"尹", 2},
    {"薛", 2},
    {"闫", 2},
    {"段", 2},
    {"雷", 2},
    {"侯", 2},
    {"龙", 2},
    {"史", 2},
    {"陶", 2},
    {"黎", 2},
    {"贺", 2},
    {"顾", 2},
    {"毛", 2},
    {"郝", 2},
    {"龚", 2},
    {"邵", 2},
    {"万", 2},
    {"钱", 2},
    {"严", 2},
    {"覃", 1},
    {"武", 2},
    {"戴", 2},
    {"欧阳", 1},
    {"司马", 1},
    {"诸葛", 1},
    {"上官", 1},
};

// Characters of given names; a given name has one or two of them.
inline constexpr const char *maleNameChars[]
    = {"伟", "强", "磊", "军", "勇", "杰", "涛", "斌", "超", "明", "刚", "平", "辉", "鹏", "华",
        "飞", "鑫", "波", "宁", "浩", "宇", "俊", "峰", "建", "国", "志", "文", "海", "林", "东",
        "亮", "晨", "凯", "健", "龙", "阳", "博", "毅", "帆", "翔", "泽", "昊", "睿", "轩", "成",
        "兵", "永", "德", "春", "金", "良", "新", "忠", "庆", "荣", "武", "子", "一", "天", "立"};
inline constexpr const char *femaleNameChars[]
    = {"芳", "娜", "敏", "静", "丽", "艳", "娟", "霞", "秀", "玲", "燕", "红", "婷", "雪", "慧",
        "莉", "倩", "琳", "颖", "洁", "萍", "琴", "云", "丹", "蕾", "薇", "欣", "佳", "悦", "梅",
        "兰", "月", "晶", "妍", "思", "雨", "诗", "梦", "雅", "嘉", "晓", "美", "春", "小", "文",
        "海", "玉", "凤", "桂", "英", "华", "凡", "璐", "瑶", "琪", "蓉", "茜", "宁", "一", "子"};

inline constexpr Weighted folks[] = {
    {"汉族", 910},
    {"壮族", 12},
    {"回族", 8},
    {"满族", 8},
    {"维吾尔族", 5},
    {"苗族", 7},
    {"彝族", 6},
    {"土家族", 7},
    {"藏族", 3},
    {"蒙古族", 4},
    {"侗族", 2},
    {"布依族", 2},
    {"瑶族", 2},
    {"白族", 2},
    {"朝鲜族", 2},
    {"哈尼族", 1},
    {"黎族", 1},
    {"哈萨克族", 1},
    {"傣族", 1},
    {"畲族", 1},
};

inline constexpr Weighted bloodTypes[] = {{"A", 28}, {"B", 31}, {"O", 32}, {"AB", 9}};
inline constexpr Weighted religions[]
    = {{"无", 940}, {"佛教", 30}, {"基督教", 20}, {"道教", 5}, {"天主教", 5}};
inline constexpr Weighted militaryStates[]
    = {{"未服兵役", 90}, {"退出现役", 6}, {"预备役", 2}, {"免服兵役", 2}};

// Education levels as the 学历 list spells them, with the age of graduating.
struct Diploma
{
    const char *text;
    const char *degree; // 学位 usually held with it
    int graduateAge;
    int years; // length of the last stage
};
enum DiplomaIndex { Doctor, Master, Bachelor, College, Secondary, Technical, HighSchool, Junior };
inline constexpr Diploma diplomas[] = {
    {"博士研究生", "博士", 28, 3},
    {"硕士研究生", "硕士", 25, 3},
    {"本科", "学士", 22, 4},
    {"大专", "无", 21, 3},
    {"中专", "无", 18, 3},
    {"技校", "无", 18, 3},
    {"高中", "无", 18, 3},
    {"初中", "无", 15, 3},
};
// Shares of the levels per kind of post, in diplomas[] order.
inline constexpr int diplomaLow[] = {0, 0, 2, 13, 25, 10, 30, 20};
inline constexpr int diplomaMid[] = {0, 2, 38, 45, 10, 0, 5, 0};
inline constexpr int diplomaHigh[] = {3, 22, 65, 10, 0, 0, 0, 0};

inline constexpr const char *universities[] = {"苏州大学", "南京大学", "东南大学", "江南大学",
    "河海大学", "南京理工大学", "南京航空航天大学", "江苏大学", "扬州大学", "常州大学",
    "南京工业大学", "中国矿业大学", "苏州科技大学", "南通大学", "复旦大学", "上海交通大学",
    "同济大学", "浙江大学", "安徽大学", "合肥工业大学", "郑州大学", "河南大学", "山东大学",
    "四川大学", "西南交通大学", "湖南大学", "中南大学", "武汉大学", "华中科技大学", "南昌大学",
    "西安交通大学", "哈尔滨工业大学", "北京理工大学", "华东理工大学"};
inline constexpr const char *colleges[] = {"苏州工业职业技术学院", "苏州市职业大学",
    "苏州工业园区职业技术学院", "江苏信息职业技术学院", "无锡职业技术学院", "常州机电职业技术学院",
    "南京工业职业技术大学", "安徽职业技术学院", "河南职业技术学院", "湖南工业职业技术学院",
    "四川工程职业技术学院", "江西应用技术职业学院", "苏州经贸职业技术学院", "昆山登云科技职业学院"};

// Majors by field; each kind of department draws from one field.
enum Field {
    Mechanics,
    Electronics,
    Computing,
    Accounting,
    Commerce,
    Humanities,
    Materials,
    SafetyStudies,
    FieldCount
};
inline constexpr const char *universityMajors[FieldCount][4] = {
    {"机械设计制造及其自动化", "机械工程", "车辆工程", "工业设计"},
    {"电气工程及其自动化", "电子信息工程", "自动化", "通信工程"},
    {"计算机科学与技术", "软件工程", "网络工程", "信息管理与信息系统"},
    {"会计学", "财务管理", "金融学", "审计学"},
    {"市场营销", "国际经济与贸易", "工商管理", "物流管理"},
    {"人力资源管理", "行政管理", "汉语言文学", "英语"},
    {"材料成型及控制工程", "化学工程与工艺", "高分子材料与工程", "质量管理工程"},
    {"安全工程", "环境工程", "消防工程", "法学"},
};
inline constexpr const char *collegeMajors[FieldCount][3] = {
    {"机电一体化技术", "数控技术", "模具设计与制造"},
    {"电气自动化技术", "应用电子技术", "工业机器人技术"},
    {"计算机应用技术", "软件技术", "计算机网络技术"},
    {"会计", "财务管理", "会计信息管理"},
    {"市场营销", "物流管理", "电子商务"},
    {"文秘", "人力资源管理", "商务英语"},
    {"焊接技术与自动化", "材料工程技术", "工业分析技术"},
    {"安全技术与管理", "环境监测与治理技术", "消防救援技术"},
};

inline constexpr const char *roads[] = {"人民路", "解放路", "中山路", "建设路", "和平路", "长江路",
    "黄河路", "新华路", "胜利路", "文化路", "东风路", "青年路", "学府路", "滨河路", "干将路",
    "竹辉路", "金鸡湖大道", "狮山路", "东吴北路", "石湖西路"};
inline constexpr const char *estates[]
    = {"阳光花园", "锦绣家园", "翠湖小区", "金色港湾", "幸福里", "书香苑", "碧水湾", "世纪新城",
        "梧桐苑", "新城花园", "玲珑湾", "星湖公寓", "枫桥新村", "东港新村"};

// Names of other companies, for work histories and relatives.
inline constexpr const char *firmNames[]
    = {"华信", "宏达", "恒通", "新世纪", "金鹰", "东方", "永盛", "瑞丰", "天成", "长城", "中兴",
        "鑫源", "康达", "盛世", "博远", "正泰", "远航", "海纳", "锦程", "精诚"};
inline constexpr const char *firmTrades[] = {"机械", "电子", "科技", "贸易", "物流", "制衣", "建材",
    "化工", "食品", "汽车零部件", "精密制造", "电器", "包装", "信息技术"};
inline constexpr const char *outsideDuties[]
    = {"职员", "技术员", "销售", "会计", "操作工", "主管", "经理", "文员", "工程师", "业务员"};

inline constexpr const char *mobilePrefixes[] = {"130", "131", "132", "133", "135", "136", "137",
    "138", "139", "150", "151", "152", "153", "155", "156", "157", "158", "159", "177", "180",
    "181", "182", "183", "186", "187", "188", "189", "198", "199"};
inline constexpr const char *bankPrefixes[]
    = {"622202", "621700", "622848", "621661", "622588", "622609"};

// Pick-list values, spelled as in the shipped lists.
inline constexpr Weighted employTypes[] = {{"正式工", 60}, {"合同工", 24}, {"劳务派遣", 9},
    {"临时工", 3}, {"实习生", 2}, {"退休返聘", 1}, {"兼职", 1}};
inline constexpr Weighted sources[]
    = {{"社会招聘", 35}, {"校园招聘", 15}, {"内部推荐", 15}, {"人才市场", 12}, {"网络招聘", 15},
        {"猎头推荐", 2}, {"劳务派遣", 4}, {"退伍安置", 1}, {"其他", 1}};
inline constexpr const char *approvers[] = {"董事长", "总经理", "副总经理", "人事经理", "部门经理"};
inline constexpr Weighted moveReasons[] = {{"工作需要", 40}, {"个人申请", 15}, {"晋升", 20},
    {"降职", 2}, {"轮岗", 10}, {"机构调整", 8}, {"考核调整", 5}};
inline constexpr Weighted leaveReasons[] = {{"辞职", 50}, {"辞退", 6}, {"合同期满", 15},
    {"协商解除", 10}, {"开除", 1}, {"自动离职", 10}, {"退休", 5}, {"调离", 2}, {"其他", 1}};
inline constexpr const char *gradeNames[]
    = {"一岗", "二岗", "三岗", "四岗", "五岗", "六岗", "七岗", "八岗"};
inline constexpr double gradeAmounts[] = {800, 1000, 1200, 1500, 1800, 2000, 2500, 3000};
inline constexpr const char *skillNames[] = {"初级工", "中级工", "高级工", "技师", "高级技师"};
inline constexpr double skillAmounts[] = {200, 300, 500, 800, 1000};
inline constexpr const char *assessmentGrades[] = {"优秀", "良好", "合格", "基本合格", "不合格"};

// Leave: type, weight, shortest and longest length in days.
struct LeaveType
{
    const char *text;
    int weight;
    int minDays;
    int maxDays;
};
inline constexpr LeaveType leaveTypes[] = {{"年假", 35, 1, 5}, {"病假", 20, 1, 7},
    {"事假", 25, 1, 3}, {"调休", 10, 1, 2}, {"婚假", 2, 3, 13}, {"产假", 2, 98, 158},
    {"陪产假", 1, 7, 15}, {"丧假", 2, 1, 3}, {"探亲假", 2, 5, 20}, {"工伤假", 1, 5, 60}};

struct Certificate
{
    const char *name;
    const char *organ;
    int years; // validity, 0 for a certificate that never expires
};
inline constexpr Certificate workshopCertificates[] = {
    {"特种作业操作证(电工)", "苏州市应急管理局", 6},
    {"特种作业操作证(焊工)", "苏州市应急管理局", 6}, {"叉车司机证", "苏州市市场监督管理局", 4},
    {"职业技能等级证书", "苏州市人力资源和社会保障局", 0}, {"健康证", "苏州市疾病预防控制中心", 1},
    {"安全生产培训合格证", "江苏省安全生产培训中心", 3}};
inline constexpr Certificate officeCertificates[] = {{"大学英语六级证书", "教育部教育考试院", 0},
    {"全国计算机等级考试二级证书", "教育部教育考试院", 0},
    {"初级会计专业技术资格证书", "财政部", 0},
    {"人力资源管理师(三级)", "苏州市人力资源和社会保障局", 0}, {"注册安全工程师", "应急管理部", 5},
    {"机动车驾驶证", "苏州市公安局交通警察支队", 6}};

inline constexpr Weighted rewardTitles[] = {{"嘉奖", 30}, {"表彰", 20}, {"奖金奖励", 15},
    {"记功", 5}, {"晋级", 5}, {"记大功", 1}, {"警告", 12}, {"严重警告", 4}, {"记过", 4},
    {"记大过", 1}, {"降级", 1}, {"撤职", 1}, {"留用察看", 1}};
inline constexpr const char *rewardReasons[] = {"年度优秀员工", "提出合理化建议被采纳",
    "技术革新成效显著", "安全生产无事故", "超额完成销售任务", "拾金不昧", "见义勇为"};
inline constexpr const char *penaltyReasons[]
    = {"违反劳动纪律", "无故旷工", "违反安全操作规程", "工作失误造成经济损失", "多次迟到早退"};

inline constexpr const char *trainingOrgans[][3] = {
    // name, type, web site
    {"苏州市职业技能培训指导中心", "政府机构", "www.szpx.gov.cn"},
    {"江苏省安全生产培训中心", "政府机构", "www.jsaqpx.cn"},
    {"苏州大学继续教育学院", "高等院校", "jxjy.suda.edu.cn"},
    {"华企管理咨询有限公司", "咨询公司", "www.huaqizixun.com"},
    {"卓越领导力培训学校", "职业培训机构", "www.zhuoyuepx.com"},
    {"苏州市特种设备检验所", "政府机构", "www.sztjs.cn"},
    {"中国质量认证中心苏州分中心", "认证机构", "www.cqc-sz.com"},
    {"德诚财税培训中心", "职业培训机构", "www.dechengcs.com"},
    {"苏州工业园区职业技术学院", "高等院校", "www.sipivt.edu.cn"},
    {"公司内训中心", "内部", ""},
    {"精益生产研究院", "咨询公司", "www.jingyi-lean.com"},
    {"苏州信息安全培训中心", "职业培训机构", "www.szisec.cn"},
};
inline constexpr const char *courses[][2] = {
    // name, type
    {"新员工入职培训", "岗前培训"},
    {"安全生产知识培训", "安全培训"},
    {"消防安全培训", "安全培训"},
    {"6S现场管理", "技能培训"},
    {"ISO9001质量管理体系", "资格培训"},
    {"精益生产", "管理培训"},
    {"班组长管理技能提升", "管理培训"},
    {"中层管理者领导力", "管理培训"},
    {"Excel高级应用", "通用培训"},
    {"商务礼仪", "通用培训"},
    {"销售技巧提升", "技能培训"},
    {"财务知识更新", "资格培训"},
    {"劳动法律法规解读", "通用培训"},
    {"特种作业人员复训", "资格培训"},
    {"设备维护保养", "技能培训"},
    {"项目管理", "管理培训"},
    {"沟通与团队协作", "通用培训"},
    {"信息安全意识", "通用培训"},
};
inline constexpr const char *trainees[] = {"全体员工", "新入职员工", "生产一线员工", "班组长",
    "中层管理人员", "销售人员", "财务人员", "技术人员"};
inline constexpr const char *inviteWays[]
    = {"网络招聘", "校园招聘", "人才市场", "内部推荐", "猎头"};

// Posts as the 岗位 list spells them. profile picks the education mix
// (0 low, 1 middle, 2 high); grades index gradeNames; titles picks the
// professional titles (0 none, 1 engineering, 2 technician, 3 accounting,
// 4 management).
struct Post
{
    const char *name;
    int profile;
    int gradeLow;
    int gradeHigh;
    bool skilled; // holds a skill grade (技能)
    int titles;
    int malePercent;
};
enum PostIndex {
    GeneralManager,
    DeputyGeneralManager,
    DepartmentManager,
    DeputyManager,
    Supervisor,
    TeamLeader,
    Engineer,
    Technician,
    Accountant,
    Cashier,
    Clerk,
    AdminOfficer,
    HrOfficer,
    SalesRep,
    Buyer,
    Storekeeper,
    Inspector,
    Operator,
    Driver,
    Guard,
    Cleaner
};
inline constexpr Post posts[] = {
    {"总经理", 2, 7, 7, false, 4, 85},
    {"副总经理", 2, 6, 7, false, 4, 75},
    {"部门经理", 2, 5, 6, false, 4, 65},
    {"部门副经理", 2, 4, 5, false, 4, 60},
    {"主管", 2, 3, 5, false, 4, 60},
    {"组长", 1, 2, 3, true, 2, 65},
    {"工程师", 2, 3, 5, false, 1, 75},
    {"技术员", 1, 2, 3, true, 2, 70},
    {"会计", 2, 2, 4, false, 3, 30},
    {"出纳", 1, 1, 3, false, 3, 20},
    {"文员", 1, 0, 2, false, 0, 25},
    {"行政专员", 1, 1, 3, false, 0, 35},
    {"人事专员", 1, 1, 3, false, 0, 30},
    {"销售代表", 1, 1, 4, false, 0, 60},
    {"采购员", 1, 1, 3, false, 0, 55},
    {"仓管员", 0, 0, 2, false, 0, 60},
    {"质检员", 1, 1, 3, true, 2, 45},
    {"操作工", 0, 0, 2, true, 0, 60},
    {"司机", 0, 1, 2, false, 0, 97},
    {"保安", 0, 0, 1, false, 0, 95},
    {"保洁员", 0, 0, 0, false, 0, 15},
};
// The career steps a promotion follows.
inline constexpr int ladder[]
    = {Operator, TeamLeader, Supervisor, DeputyManager, DepartmentManager};

inline constexpr Weighted engineeringTitles[]
    = {{"工程师", 35}, {"助理工程师", 35}, {"高级工程师", 20}, {"正高级工程师", 2}, {"技术员", 8}};
inline constexpr Weighted technicianTitles[] = {{"技术员", 50}, {"助理工程师", 30}, {"无", 20}};
inline constexpr Weighted accountingTitles[]
    = {{"会计员", 25}, {"助理会计师", 40}, {"会计师", 28}, {"高级会计师", 7}};
inline constexpr Weighted managementTitles[] = {{"经济师", 30}, {"高级经济师", 15},
    {"高级工程师", 20}, {"工程师", 15}, {"高级政工师", 5}, {"政工师", 5}, {"无", 10}};

// Kinds of department: which posts they staff and which majors their people studied.
enum Kind {
    Office,
    HumanResources,
    Finance,
    Administration,
    InformationTech,
    Research,
    Marketing,
    Sales,
    Purchasing,
    Production,
    Quality,
    Logistics,
    Equipment,
    Safety,
    KindCount
};
struct StaffShare
{
    int post;
    int weight;
};
struct KindInfo
{
    const char *keyword; // recognises the kind in the name of an existing department
    int fields[2]; // Field of the majors, the second one for a third of the people
    StaffShare staff[5];
};
inline constexpr KindInfo kinds[KindCount] = {
    {"办公室", {Humanities, Commerce}, {{Clerk, 5}, {AdminOfficer, 3}}},
    {"人力", {Humanities, Commerce}, {{HrOfficer, 8}, {Clerk, 2}, {Supervisor, 1}}},
    {"财务", {Accounting, Accounting}, {{Accountant, 6}, {Cashier, 2}, {Supervisor, 1}}},
    {"行政", {Humanities, Commerce},
        {{AdminOfficer, 4}, {Clerk, 3}, {Driver, 3}, {Guard, 6}, {Cleaner, 4}}},
    {"信息", {Computing, Computing}, {{Engineer, 6}, {Technician, 4}}},
    {"研发", {Mechanics, Electronics}, {{Engineer, 10}, {Technician, 5}, {TeamLeader, 1}}},
    {"市场", {Commerce, Humanities}, {{SalesRep, 5}, {Clerk, 2}, {Supervisor, 1}}},
    {"销售", {Commerce, Commerce}, {{SalesRep, 12}, {Clerk, 1}, {Supervisor, 1}}},
    {"采购", {Commerce, Mechanics}, {{Buyer, 8}, {Clerk, 1}, {Supervisor, 1}}},
    {"车间", {Mechanics, Electronics},
        {{Operator, 80}, {TeamLeader, 6}, {Technician, 6}, {Inspector, 4}, {Storekeeper, 2}}},
    {"质量", {Materials, Mechanics}, {{Inspector, 10}, {Engineer, 3}, {Technician, 2}}},
    {"仓", {Commerce, Mechanics}, {{Storekeeper, 8}, {Driver, 5}, {Operator, 4}, {TeamLeader, 1}}},
    {"设备", {Electronics, Mechanics}, {{Technician, 6}, {Engineer, 3}, {Operator, 3}}},
    {"安全", {SafetyStudies, Materials}, {{Engineer, 3}, {Technician, 2}, {AdminOfficer, 2}}},
};

// The fixed part of the department tree: top-level departments with their
// sub-departments ("|" separated) and the head-count weight of each leaf.
// Production gets its workshops and shifts from the company's size.
struct DepartmentPlan
{
    const char *name;
    int kind;
    int weight;
    const char *children;
};
inline constexpr DepartmentPlan departmentPlans[] = {
    {"总经理办公室", Office, 2, ""},
    {"人力资源部", HumanResources, 2, "招聘培训科|薪酬绩效科|员工关系科"},
    {"财务部", Finance, 2, "会计科|资金科|成本科"},
    {"行政部", Administration, 3, "综合科|后勤保障科|安保科"},
    {"信息技术部", InformationTech, 3, ""},
    {"研发中心", Research, 4, "产品设计部|电气开发部|软件开发部|工艺技术部|测试部"},
    {"市场部", Marketing, 3, ""},
    {"销售部", Sales, 4, "华东区|华南区|华北区|华中区|西南区|海外业务部"},
    {"采购部", Purchasing, 3, ""},
    {"生产部", Production, 0, ""},
    {"质量管理部", Quality, 4, "进料检验科|过程检验科|质量体系科"},
    {"仓储物流部", Logistics, 5, "原料仓|成品仓|运输队"},
    {"设备动力部", Equipment, 4, "设备维修科|动力科"},
    {"安全环保部", Safety, 2, ""},
};
inline constexpr const char *shifts[] = {"甲班", "乙班", "丙班"};
// Share of the head count in production, in percent.
inline constexpr int productionShare = 72;

inline constexpr const char *otherNotes[] = {"已签订保密协议", "住公司宿舍", "持有C1驾驶证",
    "有海外工作经历", "曾获市级技能竞赛三等奖", "已办理居住证", "需定期复查职业健康"};
inline constexpr const char *trialResults[] = {"试用期考核合格,同意按期转正。",
    "工作积极主动,能胜任本岗位,同意转正。", "业务熟练,表现良好,提前转正。"};
inline constexpr const char *assessmentOpinions[]
    = {"工作认真负责,按时完成各项任务。", "业务能力强,团队协作好。",
        "能完成本职工作,专业技能有待提高。", "出勤良好,工作态度端正。", "工作效率需进一步提高。"};
inline constexpr const char *relativeDuties[]
    = {"职员", "教师", "医生", "个体经营", "工人", "公务员", "销售", "技术员"};

} // namespace DataVocabulary
