// qmrs26: the start-up sequence, the main window and the shut-down; and
// "qmrs26 --screenshot FILE [--demo N]", which renders the main window of the
// default database (or of a copy filled with N made-up employees) to a PNG.
#include "DataGenerator.h"
#include "DepartmentSet.h"
#include "Facade.h"
#include "Login.h"
#include "Operator.h"
#include "Pub.h"
#include "RecordSet.h"
#include "Splash.h"
#include "Startup.h"
#include "WidgetPrompter.h"
#include "main1.h"
#include "qmProj.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void useChineseFont(QApplication &app)
{
    // One font on every machine, so layouts look the same everywhere.
    const QString family = QStringLiteral("Noto Sans CJK SC");
    if (QFontDatabase::families().contains(family)) {
        QFont font(family);
        font.setPointSize(10);
        app.setFont(font);
    }
}

struct ScreenshotRequest
{
    bool wanted = false;
    QString file;
    int demo = 0;
    QString error;
};

// Read before the application object exists, which must already know that
// it renders offscreen.
ScreenshotRequest parseScreenshot(int argc, char *argv[])
{
    ScreenshotRequest request;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--screenshot") == 0) {
            request.wanted = true;
            if (hasValue)
                request.file = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--demo") == 0) {
            bool ok = false;
            request.demo = hasValue ? QString::fromLocal8Bit(argv[++i]).toInt(&ok) : 0;
            if (!ok || request.demo < 1)
                request.error = QStringLiteral("--demo needs a number of employees above 0");
        }
    }
    if (request.wanted && request.file.isEmpty())
        request.error = QStringLiteral("--screenshot needs the name of the PNG file to write");
    return request;
}

// The application-wide objects of steps 1 and 2 of the start-up, freed in
// reverse order at the end of the process.
class ProjectObjects
{
public:
    ProjectObjects()
    {
        TheDatabase = &m_database;
        SharedRecordSet = &m_shared;
        CreateProjectObjects();
        CreateDepartments();
    }
    ~ProjectObjects()
    {
        FreeDepartments();
        FreeProjectObjects();
        SharedRecordSet = nullptr;
        TheDatabase = nullptr;
    }
    ProjectObjects(const ProjectObjects &) = delete;
    ProjectObjects &operator=(const ProjectObjects &) = delete;

    TDatabase &database() { return m_database; }

private:
    TDatabase m_database;
    TRecordSet m_shared;
};

// Step 8: the field labels, the company record and the department tree.
void CreateStartupObjects()
{
    LoadStartupData();
    TheDepartments->Load();
}

int runScreenshot(const ScreenshotRequest &request)
{
    ProjectObjects objects;
    TmallX facade;
    TDatabase &database = objects.database();

    QString file = TConfiger::DefaultDatabaseFile();
    QTemporaryDir folder;
    if (request.demo > 0) {
        const QString copy = QDir(folder.path()).filePath(QStringLiteral("demo.db"));
        if (!folder.isValid() || !QFile::copy(file, copy)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(QDir::toNativeSeparators(file)));
            return 1;
        }
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        file = copy;
    }
    if (!database.Connect(TConfiger::SqliteConnectionString(file)))
        return 1;

    std::unique_ptr<Tmain1Frm> window;
    const bool built = RunUserAction([&] {
        if (request.demo > 0) {
            DataGenerator::Options options;
            options.employees = request.demo;
            options.today = QDate::currentDate();
            DataGenerator(database, options).run();
        }
        CreateStartupObjects();
        TheOperator->Load(QStringLiteral("sa"));
        const ROperatorRights rights = LoadOperatorRight(TheOperator->LoginId);
        TheOperatorRight
            = rights.isEmpty() ? ROperatorRight{TheOperator->LoginId, RDeptRit()} : rights.first();
        window = std::make_unique<Tmain1Frm>();
    });
    if (!built)
        return 1;
    window->setWindowState(Qt::WindowNoState);
    window->resize(1280, 800);
    window->show();
    window->OperatorChanged();
    QApplication::processEvents();
    if (!window->grab().save(request.file, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(request.file));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const ScreenshotRequest screenshot = parseScreenshot(argc, argv);
    if (screenshot.wanted && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // 3 and 4: the application object with the product texts.
    TqmApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("qmrs26"));
    app.setApplicationDisplayName(ProductTitle);
    app.setApplicationVersion(ProductVersion);
    useChineseFont(app);

    if (!screenshot.error.isEmpty()) {
        std::fprintf(stderr, "%s\nusage: qmrs26 [--screenshot FILE [--demo N]]\n",
            qPrintable(screenshot.error));
        return 2;
    }
    // Messages of a screenshot run go to standard error; nobody is there to
    // answer a box.
    if (screenshot.wanted)
        return runScreenshot(screenshot);

    WidgetPrompter prompter;
    setPrompter(&prompter);
    // The program ends with its main window, even while the help window is open.
    app.setQuitOnLastWindowClosed(false);

    // 1 and 2: the data layer, the application-wide objects and the
    // department tree; the stores open their tables on first use.
    ProjectObjects objects;
    TDatabase &database = objects.database();
    // 5: the facade.
    TmallX facade;

    std::unique_ptr<Tmain1Frm> window;
    {
        // 6 to 10: connect, load, create the main window, release the splash.
        TSplashFrm splash;
        splash.show();
        splash.ShowHint(QStringLiteral("正在连接数据库,请稍候..."));
        app.processEvents();
        if (!ConnectDatabase(database))
            return 0;
        splash.ShowHint(QStringLiteral("连接成功,正在创建对象..."));
        if (!RunUserAction(CreateStartupObjects))
            return 1;
        if (!RunUserAction([&window] { window = std::make_unique<Tmain1Frm>(); }))
            return 1;
    }

    // 11: the login; the list and reminders then fill for that operator.
    int result = 0;
    if (Login()) {
        QObject::connect(window.get(), &Tmain1Frm::closed, &app, &QCoreApplication::quit);
        window->OperatorChanged();
        window->showMaximized();
        result = app.exec();
    }
    window.reset();

    // Shut-down: close the connection, then the scheduled backup, which
    // opens it again as it needs.
    database.SetConnected(false);
    RunUserAction([] {
        if (TheFacade)
            TheFacade->BackupOnExit();
    });
    return result;
}
