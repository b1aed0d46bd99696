#include "AppIdentity.h"
#include "CPlacementDlg.h"
#include "FakePlatform.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <unistd.h>

using namespace kavelto;
using Answer = Platform::Answer;

// The window's own part: its fields, the boxes it shows and when, the small windows, the pick
// list's outputs. The rules behind each handler are the session's, tested in the core.
class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CPlacementDlg> dlg_;

    template <typename T = QWidget> T* control(const char* name) const {
        return dlg_->findChild<T*>(QString::fromLatin1(name));
    }
    QAbstractItemModel* model() const { return control<QTableView>("partList")->model(); }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    void loadPkp(const QByteArray& contents) {
        QFile file(dir_.filePath(QStringLiteral("parts%1.csv").arg(platform_->fileFilters.size())));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        file.close();
        platform_->files.push_back(file.fileName());
        click("loadPkp");
    }

    QString pagePath() const {
        return dir_.filePath(QStringLiteral("kavelto-%1/picklst.html").arg(geteuid()));
    }

private slots:
    // The page goes into a folder of the user's own under the temporary directory.
    void init() {
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        platform_ = std::make_unique<FakePlatform>();
        dlg_ = std::make_unique<CPlacementDlg>(*platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
    }

    void cleanup() { dlg_.reset(); }

    // Closed without a word after three parts, the window's next run offers them back.
    void keptSessionRestoredInANewWindow() {
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir_.filePath("state")));
        for (int run = 0; run < 2; ++run) {
            dlg_ = std::make_unique<CPlacementDlg>(*platform_);
            QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
            dlg_->show();
            platform_->files.push_back(QStringLiteral(DEMO_DIR "/coldfire.csv"));
            click("loadPkp");
            QTest::keyClick(control("partList"), Qt::Key_Home);
            for (int enter = 0; run == 0 && enter < 3; ++enter)
                QTest::keyClick(control("partList"), Qt::Key_Return);
        }
        QAction* restore = nullptr;
        for (QAction* action : dlg_->actions())
            restore =
                action->text().startsWith("Restore session (3 of 146 placed, ") ? action : restore;
        QVERIFY(restore && restore->isVisible());
        restore->trigger();
        QCOMPARE(model()->index(2, 0).data().toString(), "DONE");
        QCOMPARE(dlg_->session().keptState().placed.size(), std::size_t{3});
    }

    // Ctrl+F, a designator typed in any case with the designators offered as it is typed, Enter:
    // the part is selected, on the other face if need be. Esc closes the field, not the window.
    void findPart() {
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
        platform_->files.push_back(QStringLiteral(DEMO_DIR "/coldfire.csv"));
        click("loadPkp");
        for (const auto& [typed, face] : {std::pair("u", Face::Top), {"c112", Face::Bottom}}) {
            QTest::keyClick(dlg_.get(), Qt::Key_F, Qt::ControlModifier);
            auto* field = control<QLineEdit>("findField");
            QVERIFY(field->isVisible());
            QTest::keyClicks(field, typed);
            if (face == Face::Top) {
                QVERIFY(field->completer()->completionCount() > 1);
                QTest::keyClicks(field, "301");
            }
            QTest::keyClick(field, Qt::Key_Return);
            const int row = dlg_->session().selection().selectedRow;
            QCOMPARE(model()->index(row, 2).data().toString().toLower(),
                     QString(typed).append(face == Face::Top ? "301" : ""));
            QCOMPARE(dlg_->session().face(), face);
            QTRY_COMPARE(QApplication::activeWindow(), dlg_.get());
        }
        QTest::keyClick(dlg_.get(), Qt::Key_F, Qt::ControlModifier);
        auto* field = control<QLineEdit>("findField");
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!field->isVisible());
        QVERIFY(dlg_->isVisible());
    }

    void startUpFields() {
        QCOMPARE(dlg_->windowTitle(),
                 "Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2");
        const std::pair<const char*, QString> fields[] = {
            {"bitmapText", "no bitmap loaded"}, {"rotationText", "0\u00B0 - Normal"},
            {"pkpText", "no pkp loaded"},       {"calibrationText", "Not calibrated"},
            {"partsPerFaceText", "none"},       {"pcbCount", "1"}};
        for (const auto& [name, expected] : fields)
            QCOMPARE(text(name), expected);
        QVERIFY(control<QRadioButton>("top")->isChecked());
        QCOMPARE(control<QComboBox>("sortBy")->currentText(), "Package,Prefix,Value,PartId");
        QCOMPARE(model()->columnCount(), 9);
        QCOMPARE(model()->rowCount(), 0);
        QCOMPARE(control("pictureFrame")->accessibleName(), "Board picture");
        QCOMPARE(control("magnifierFrame")->accessibleName(), "Magnifier");
    }

    // A load that fails on its hundredth line has overwritten records the list showed: its box
    // comes when the list is consistent again, with nothing in it.
    void readerErrorShownOnceTheListIsConsistent() {
        loadPkp("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,1,2,0,top\n");
        int rowsAtBox = -1;
        platform_->onMessage = [&](const FakePlatform::Message&) {
            rowsAtBox = model()->rowCount();
        };
        loadPkp("Ref,Val,Package,PosX,PosY,Rot,Side\n" +
                QByteArray("R1,1k,0603,1,2,0,top\n").repeated(99) + "R100,1k\n");
        QCOMPARE(platform_->messages.size(), std::size_t{1});
        QCOMPARE(platform_->messages[0].text, "Not enough fields per line");
        QCOMPARE(rowsAtBox, 0);
        QCOMPARE(text("pkpText"), "no parts found");
    }

    // The refused text stays for the user to mend, selected in its focused field.
    void invalidPcbCount() {
        auto* field = control<QLineEdit>("pcbCount");
        field->setText("12");
        click("pickList");
        field->setText("");
        click("pickList");
        QCOMPARE(platform_->messages.size(), std::size_t{1});
        QCOMPARE(platform_->messages[0].text, "Please enter a positive integer.");
        QCOMPARE(platform_->messages[0].caption, "main_window_test");
        QCOMPARE(platform_->messages[0].icon, Platform::Icon::Exclamation);
        QCOMPARE(dlg_->session().pcbCount(), 12u);
        QCOMPARE(dlg_->focusWidget(), field);
        QTest::keyClicks(field, QStringLiteral("a1-"));
        QCOMPARE(field->text(), "1");
    }

    // A sort change goes on after the refusal of the count, with the count read before.
    void sortChangeWithInvalidPcbCount() {
        loadPkp("Ref,Val,Package,PosX,PosY,Rot,Side\nR2,1k,0402,1,2,0,top\nC1,1k,0603,1,2,0,top\n");
        control<QLineEdit>("pcbCount")->setText("-");
        control<QComboBox>("sortBy")->setCurrentIndex(2);
        QCOMPARE(platform_->messages.size(), std::size_t{1});
        QCOMPARE(model()->index(0, 2).data().toString(), "C1");
        QCOMPARE(dlg_->session().pcbCount(), 1u);
    }

    // Choosing the face shown changes nothing, not even a count typed and not yet read.
    void sameFaceKeepsTypedCount() {
        loadPkp("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,1,2,0,top\n");
        control<QLineEdit>("pcbCount")->setText("3");
        click("top");
        click("pickList");
        QFile page(pagePath());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("<td>1</td><td>3</td></tr>"));
    }

    // Both outputs for the bottom face, the page in the user's own folder, opened.
    void pickListOutputs() {
        loadPkp("Ref,Val,Package,PosX,PosY,Rot,Side\nQ1,BC847,SOT23,1,2,0,bottom\n"
                "Q2,<&>,SOT23,3,4,0,bottom\n");
        click("bottom");
        control<QLineEdit>("pcbCount")->setText("2");
        click("pickList");
        QCOMPARE(platform_->clipboardTexts.value(0),
                 "Picking List for BOTTOM SIDE \n\nITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n"
                 "-------\t-------\t-----\t-----\t-----\n1\tSOT23\t<&>\t1\t2\n"
                 "2\tSOT23\tBC847\t1\t2\nEND\n\n\n\n");
        QCOMPARE(platform_->openedDocuments.value(0), pagePath());
        QFile page(pagePath());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(
            page.readAll().contains("<p>Pick List BOTTOM SIDE - Generated by the Kavelto v1.2"));
        QCOMPARE(QFileInfo(page.fileName()).dir().path(),
                 dir_.filePath(QStringLiteral("kavelto-%1").arg(geteuid())));
    }

    // A link planted where the user's folder goes is refused, never followed; a folder in the
    // page's place cannot be replaced.
    void pickListFileErrors() {
        const QString folder = dir_.filePath(QStringLiteral("kavelto-%1").arg(geteuid()));
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QFile::link(dir_.path(), folder));
        click("pickList");
        QVERIFY(QFile::remove(folder));
        QVERIFY(QDir().mkpath(pagePath()));
        click("pickList");
        QStringList boxes;
        for (const FakePlatform::Message& box : platform_->messages)
            boxes << box.text + '|' + box.caption;
        QCOMPARE(boxes,
                 QStringList({"Can't create html file|Error", "Can't write html file|Error"}));
        QVERIFY(platform_->openedDocuments.isEmpty());
        QCOMPARE(platform_->clipboardTexts.size(), 2);
    }

    // The About box and the Keymap window over the main window, the keys sent to them their
    // own; the logo's box answered No then Yes.
    void smallWindowsAndShell() {
        platform_->onModal = [](QDialog& window) {
            window.show();
            QTest::keyClick(&window, Qt::Key_Asterisk, Qt::KeypadModifier);
            QTest::keyClick(&window, Qt::Key_Return);
            QVERIFY(!window.isVisible());
        };
        dlg_->actions().value(0)->trigger(); // "&About Kavelto..."
        click("shortcuts");
        QCOMPARE(platform_->modalTitles, QStringList({"About Kavelto", "Keymap"}));
        QCOMPARE(platform_->modalParents, QList<const QWidget*>({dlg_.get(), dlg_.get()}));
        QCOMPARE(dlg_->session().view().viewRotation, 0);

        platform_->answers = {Answer::No, Answer::Yes};
        click("logo");
        click("logo");
        QCOMPARE(platform_->openedUrls.size(), 1);
        QCOMPARE(platform_->openedUrls.front().host(), QLatin1String(kMakerSite));
        QCOMPARE(platform_->messages.size(), std::size_t{2});
        QCOMPARE(platform_->messages[1].buttons, Platform::Buttons::YesNo);
    }

    // The working directory's manual first, else the one installed beside the program
    // (../share/doc/kavelto from its folder); the box only when neither opens, until Cancel.
    void needHelpOpensTheNearestManual_data() {
        QTest::addColumn<bool>("inWorkingDir");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("viewerOpens");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("boxes");
        QTest::newRow("working directory's") << true << true << true << QStringList{"work"} << 0;
        QTest::newRow("installed copy") << false << true << true << QStringList{"installed"} << 0;
        QTest::newRow("none: Retry, Cancel") << false << false << true << QStringList() << 2;
        QTest::newRow("no viewer: Retry, Cancel")
            << true << false << false << QStringList{"work", "work"} << 2;
    }
    void needHelpOpensTheNearestManual() {
        QFETCH(bool, inWorkingDir);
        QFETCH(bool, installed);
        QFETCH(bool, viewerOpens);
        QFETCH(QStringList, opened);
        QFETCH(int, boxes);
        const QString work = dir_.filePath("work/KaveltoManual.pdf");
        const QString copy = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                             "/../share/doc/kavelto/KaveltoManual.pdf");
        const QString previous = QDir::currentPath();
        const auto restore = qScopeGuard([&] {
            QDir::setCurrent(previous);
            QFile::remove(work);
            QFile::remove(copy);
        });
        for (const auto& [path, present] : {std::pair(work, inWorkingDir), {copy, installed}}) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(!present || QFile(path).open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir::setCurrent(dir_.filePath("work")));
        platform_->documentsOpen = viewerOpens;
        platform_->answers = {Answer::Retry, Answer::Cancel};
        click("needHelp");
        QCOMPARE(platform_->openedDocuments.replaceInStrings(work, "work")
                     .replaceInStrings(copy, "installed"),
                 opened);
        QCOMPARE(int(platform_->messages.size()), boxes);
        for (const FakePlatform::Message& box : platform_->messages) {
            QCOMPARE(box.text, "Can't open KaveltoManual.pdf...");
            QCOMPARE(box.caption, "Error");
            QCOMPARE(box.buttons, Platform::Buttons::RetryCancel);
        }
    }

    // The first filter shows every file the reader and the decoder take, the rest narrow it.
    void fileDialogFilters() {
        click("loadPkp");
        click("loadBitmap");
        QCOMPARE(platform_->fileFilters.size(), std::size_t{2});
        QCOMPARE(platform_->fileFilters[0],
                 QStringList({"Placement files (*.pkp *.txt *.csv *.pos *.mnt *.mnb)",
                              "PKP (*.pkp)", "TXT (*.txt)", "All files (*)"}));
        QCOMPARE(platform_->fileFilters[1], QStringList({"Pictures (*.bmp *.jpg *.jpeg *.png)",
                                                         "BMP (*.bmp)", "JPEG (*.jpg *.jpeg)"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
