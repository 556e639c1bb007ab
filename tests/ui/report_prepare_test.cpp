// Preparation of report pages without a window: band placement and page breaks over a user dataset and a
// memory table, page numbers, the names that expressions ask for and the order they are answered in.
#include "ui_test_main.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/user_locale.h"
#include "ui/report/fr_expression.h"
#include "ui/report/fr_prepare.h"
#include "ui/report/fr_report.h"
#include "ui/report/fr_report_impl.h"

#include <QTest>

using namespace zelk;
using namespace zelk::rep;

namespace {

TfrTextObject Text(const QString& text, double left = 0, double width = 40) {
    TfrTextObject o;
    o.Name = QStringLiteral("T%1").arg(left);
    o.Left = left;
    o.Width = width;
    o.Text = text;
    return o;
}

TfrBand Band(TfrBandKind kind, double height, std::vector<TfrTextObject> objects,
             const QString& dataset = {}) {
    TfrBand band;
    band.Kind = kind;
    band.Height = height;
    band.Dataset = dataset;
    band.Objects = std::move(objects);
    return band;
}

// A page 100 mm high with 10 mm margins: 80 mm to print on.
TfrLayout SmallPage() {
    TfrLayout layout;
    layout.Page.Width = 100;
    layout.Page.Height = 100;
    return layout;
}

// Rows of the program, read through the callback at the cursor, as the program's datasets do.
struct ProgramRows {
    std::vector<std::string> Calls;
    int Cursor = 0;
    std::vector<std::string> Asked;
    TfrUserDataset Dataset;
    ProgramRows(std::vector<std::string> calls) : Calls(std::move(calls)) {
        Dataset.OnFirst = [this] { Cursor = 0; };
        Dataset.OnNext = [this] { ++Cursor; };
        Dataset.OnEof = [this] { return Cursor >= static_cast<int>(Calls.size()); };
    }
    TfrVariableCallback Callback() {
        return [this](const std::string& name, ScriptValue& value) {
            Asked.push_back(name);
            if (UpperCase(name) == "CALL" && Cursor < static_cast<int>(Calls.size())) {
                value = ScriptValue::Text(Calls[Cursor]);
                return true;
            }
            if (name == "Строка"_cp) { // matched exactly, as the log editor's names are
                value = ScriptValue::Text("line"_cp);
                return true;
            }
            if (UpperCase(name) == "QSO") {
                value = ScriptValue::Integer(Cursor + 100);
                return true;
            }
            return false;
        };
    }
};

std::vector<std::string> Numbered(int n) {
    std::vector<std::string> rows;
    for (int i = 1; i <= n; ++i)
        rows.push_back("R" + std::to_string(i));
    return rows;
}

// Band kinds of a page as letters: T title, H header, D data, S summary, F footer.
QString Kinds(const TfrPreparedPage& page) {
    QString s;
    for (const auto& band : page.Bands)
        s += QStringLiteral("THDSF")[static_cast<int>(band.Kind)];
    return s;
}

QString TextsOf(const TfrPreparedPage& page, TfrBandKind kind) {
    QStringList texts;
    for (const auto& band : page.Bands)
        if (band.Kind == kind)
            for (const auto& item : band.Items)
                texts << item.Text;
    return texts.join(u',');
}

TfrDataSources Sources(std::initializer_list<std::pair<std::string, TfrDataset*>> datasets,
                       TfrVariableCallback cb = {}) {
    TfrDataSources s;
    for (const auto& [name, dataset] : datasets)
        s.Set(name, dataset);
    s.Variables = std::move(cb);
    return s;
}

} // namespace

class ReportPrepareTest : public QObject {
    Q_OBJECT
  private slots:
    void RowsFillPagesAndBreakWhenAPageIsFull() {
        TfrLayout layout = SmallPage();
        layout.Bands = {Band(TfrBandKind::PageFooter, 5, {Text(QStringLiteral("[PAGE]/[TotalPages]"))}),
                        Band(TfrBandKind::ReportTitle, 10, {Text(QStringLiteral("Title"))}),
                        Band(TfrBandKind::PageHeader, 5, {Text(QStringLiteral("Head [page]"))}),
                        Band(TfrBandKind::MasterData, 10, {Text(QStringLiteral("[LINE]:[Call]"))},
                             QStringLiteral("frdsRows")),
                        Band(TfrBandKind::ReportSummary, 10, {Text(QStringLiteral("Total [line]"))})};
        ProgramRows rows(Numbered(12));
        const TfrPreparedReport r =
            PrepareReport(layout, Sources({{"FRDSROWS", &rows.Dataset}}, rows.Callback()));

        // Body ends at 100 - 10 - 5 = 85 mm: six rows fit after title and header, seven after a header.
        QCOMPARE(r.PageCount(), 2);
        QCOMPARE(Kinds(r.Pages[0]), QStringLiteral("THDDDDDDF"));
        QCOMPARE(Kinds(r.Pages[1]), QStringLiteral("HDDDDDDSF"));
        QCOMPARE(TextsOf(r.Pages[0], TfrBandKind::MasterData),
                 QStringLiteral("1:R1,2:R2,3:R3,4:R4,5:R5,6:R6"));
        QCOMPARE(TextsOf(r.Pages[1], TfrBandKind::MasterData),
                 QStringLiteral("7:R7,8:R8,9:R9,10:R10,11:R11,12:R12"));
        QCOMPARE(TextsOf(r.Pages[0], TfrBandKind::PageHeader), QStringLiteral("Head 1"));
        QCOMPARE(TextsOf(r.Pages[1], TfrBandKind::PageHeader), QStringLiteral("Head 2"));
        QCOMPARE(TextsOf(r.Pages[0], TfrBandKind::PageFooter), QStringLiteral("1/2"));
        QCOMPARE(TextsOf(r.Pages[1], TfrBandKind::PageFooter), QStringLiteral("2/2"));
        QCOMPARE(TextsOf(r.Pages[1], TfrBandKind::ReportSummary), QStringLiteral("Total 12"));

        const auto& p0 = r.Pages[0].Bands;
        QCOMPARE(p0[0].Top, 10.0); // title at the top margin
        QCOMPARE(p0[1].Top, 20.0); // header below it
        QCOMPARE(p0[2].Top, 25.0);
        QCOMPARE(p0[7].Top, 75.0);
        QCOMPARE(p0[8].Top, 85.0); // the footer at the bottom of the printable area
        QCOMPARE(r.Pages[1].Bands[0].Top, 10.0);
        QCOMPARE(r.Pages[1].Bands[7].Top, 75.0); // the summary just fits
        // Items are placed from the left margin.
        QCOMPARE(p0[2].Items[0].Rect, QRectF(10, 25, 40, 5));
        QCOMPARE(p0[2].Items[0].Source, TfrSourceIndex(3, 0));
    }

    void SummaryThatDoesNotFitGoesToANewPage() {
        TfrLayout layout = SmallPage();
        layout.Bands = {
            Band(TfrBandKind::PageHeader, 10, {Text(QStringLiteral("H"))}),
            Band(TfrBandKind::MasterData, 10, {Text(QStringLiteral("[Call]"))}, QStringLiteral("rows")),
            Band(TfrBandKind::ReportSummary, 15, {Text(QStringLiteral("S"))}),
            Band(TfrBandKind::PageFooter, 10, {Text(QStringLiteral("[PAGE]"))})};
        // 80 - 10 - 10 = 60 mm for rows: six rows fill the first page exactly.
        ProgramRows rows(Numbered(6));
        const TfrPreparedReport r =
            PrepareReport(layout, Sources({{"rows", &rows.Dataset}}, rows.Callback()));
        QCOMPARE(r.PageCount(), 2);
        QCOMPARE(Kinds(r.Pages[0]), QStringLiteral("HDDDDDDF"));
        QCOMPARE(Kinds(r.Pages[1]), QStringLiteral("HSF"));
        QCOMPARE(TextsOf(r.Pages[1], TfrBandKind::PageFooter), QStringLiteral("2"));
    }

    void ReportWithoutRowsStillHasItsPage() {
        struct Case {
            const char* name;
            std::function<TfrDataSources(ProgramRows&)> sources;
        };
        TfrUserDataset noEof; // no end-of-data function: no rows rather than rows without end
        int firsts = 0;
        noEof.OnFirst = [&firsts] { ++firsts; };
        const Case cases[] = {
            {"empty dataset",
             [](ProgramRows& p) {
                 return Sources({{"rows", &p.Dataset}}, p.Callback());
             }},
            {"dataset not set", [](ProgramRows& p) { return Sources({}, p.Callback()); }},
            {"dataset without end-of-data",
             [&](ProgramRows&) {
                 return Sources({{"rows", &noEof}});
             }},
        };
        TfrLayout layout = SmallPage();
        layout.Bands = {
            Band(TfrBandKind::ReportTitle, 10, {Text(QStringLiteral("T"))}),
            Band(TfrBandKind::PageHeader, 10, {Text(QStringLiteral("H"))}),
            Band(TfrBandKind::MasterData, 10, {Text(QStringLiteral("D"))}, QStringLiteral("rows")),
            Band(TfrBandKind::ReportSummary, 10, {Text(QStringLiteral("[LINE]"))}),
            Band(TfrBandKind::PageFooter, 10, {Text(QStringLiteral("F"))})};
        for (const Case& c : cases) {
            ProgramRows rows({});
            const TfrPreparedReport r = PrepareReport(layout, c.sources(rows));
            QVERIFY2(r.PageCount() == 1, c.name);
            QVERIFY2(Kinds(r.Pages[0]) == QStringLiteral("THSF"), c.name);
            QVERIFY2(TextsOf(r.Pages[0], TfrBandKind::ReportSummary) == QStringLiteral("0"), c.name);
        }
        QCOMPARE(firsts, 1);
    }

    void BandTallerThanAPageTakesAPageOfItsOwn() {
        TfrLayout layout = SmallPage();
        layout.Bands = {
            Band(TfrBandKind::PageHeader, 5, {Text(QStringLiteral("H"))}),
            Band(TfrBandKind::MasterData, 120, {Text(QStringLiteral("[Call]"))}, QStringLiteral("rows"))};
        ProgramRows rows(Numbered(3));
        const TfrPreparedReport r =
            PrepareReport(layout, Sources({{"rows", &rows.Dataset}}, rows.Callback()));
        QCOMPARE(r.PageCount(), 3);
        for (const auto& page : r.Pages)
            QCOMPARE(Kinds(page), QStringLiteral("HD"));
    }

    void DatasetWithoutEndStopsAtTheLimits() {
        TfrUserDataset endless;
        endless.OnEof = [] { return false; };
        TfrLayout layout = SmallPage();
        TfrPrepareOptions options;
        options.BandLimit = 500;
        options.PageLimit = 20;
        // Rows of no height never fill a page: the band limit ends them.
        layout.Bands = {Band(TfrBandKind::MasterData, 0, {}, QStringLiteral("rows"))};
        QVERIFY_THROWS_EXCEPTION(TZelkError, PrepareReport(layout, Sources({{"rows", &endless}}), options));
        // Rows with height fill pages: the page limit ends them.
        layout.Bands[0].Height = 40;
        options.BandLimit = 100000;
        QVERIFY_THROWS_EXCEPTION(TZelkError, PrepareReport(layout, Sources({{"rows", &endless}}), options));
        // The designer's preview stops quietly after its pages.
        options.MaxPages = 3;
        QCOMPARE(PrepareReport(layout, Sources({{"rows", &endless}}), options).PageCount(), 3);
    }

    void MemoryTableFieldsAreReadByNameAndKind() {
        TfrMemoryTable table;
        table.AddField({"CALLSIGN", TfrMemoryTable::TFieldKind::String, 5});
        table.AddField({"CNT", TfrMemoryTable::TFieldKind::Integer, 0});
        QVERIFY_THROWS_EXCEPTION(TZelkError, table.AddField({"cnt", TfrMemoryTable::TFieldKind::String, 0}));
        QVERIFY_THROWS_EXCEPTION(TZelkError, table.Append({ScriptValue::Text("X")})); // not open yet
        table.Open();
        QVERIFY_THROWS_EXCEPTION(TZelkError, table.AddField({"MORE", TfrMemoryTable::TFieldKind::String, 0}));
        table.Append({ScriptValue::Text("UA3ABCDEF"), ScriptValue::Integer(7)}); // cut to 5 characters
        table.Append({ScriptValue::Text("RK9X"), ScriptValue::Text("12")});      // a number as text
        table.Append({ScriptValue::Text("R1A")});                                // CNT missing: 0
        QVERIFY_THROWS_EXCEPTION(TZelkError, table.Append({ScriptValue::Text("A"), ScriptValue::Text("x")}));
        QVERIFY_THROWS_EXCEPTION(TZelkError, table.Append({ScriptValue::Text("A"), ScriptValue::Integer(1),
                                                           ScriptValue::Integer(2)}));
        QCOMPARE(table.RecordCount(), 3);

        // The program's callback also knows CALLSIGN (the log-list row's): inside the table's band the
        // field wins; the qualified form reaches the field anywhere.
        auto callback = [](const std::string& name, ScriptValue& value) {
            if (UpperCase(name) != "CALLSIGN") return false;
            value = ScriptValue::Text("FROM-PROGRAM");
            return true;
        };
        TfrLayout layout = SmallPage();
        layout.Bands = {
            Band(TfrBandKind::MasterData, 5,
                 {Text(QStringLiteral("[callsign]")), Text(QStringLiteral("[Cnt + 1]"), 40),
                  Text(QStringLiteral("[frMTDataSet.CNT]"), 60)},
                 QStringLiteral("frMTDataSet")),
            Band(TfrBandKind::ReportSummary, 5,
                 {Text(QStringLiteral("[CALLSIGN]|[CNT]|[frmtdataset.callsign]|[frMTDataSet.NOFIELD]"))})};
        const TfrPreparedReport r = PrepareReport(layout, Sources({{"frMTDataSet", &table}}, callback));
        QCOMPARE(TextsOf(r.Pages[0], TfrBandKind::MasterData),
                 QStringLiteral("UA3AB,8,7,RK9X,13,12,R1A,1,0"));
        // After the last row there is no current record: the program's value, and empty fields.
        QCOMPARE(TextsOf(r.Pages[0], TfrBandKind::ReportSummary), QStringLiteral("FROM-PROGRAM|||"));

        table.Close();
        table.AddField({"X", TfrMemoryTable::TFieldKind::String, 0});
        table.Open();
        QCOMPARE(table.RecordCount(), 0);
        QVERIFY(table.Eof());
    }

    void NamesReachTheProgramAsWritten() {
        const TUserLocaleOverride locale{TUserLocale{}};
        ProgramRows rows({"UA1A"});
        TfrTextEvaluator evaluator([&](const std::string& name, ScriptValue& value) {
            rows.Callback()(name, value);
            return true;
        });
        struct Case {
            const char* text;
            const char* shown;
            std::vector<std::string> asked;
        };
        const Case cases[] = {
            {"[Call]", "UA1A", {"Call"}},
            {"[call] and [CALL]", "UA1A and UA1A", {"call", "CALL"}},
            {"Строка: [Строка]", "Строка: line", {"Строка"}},
            {"[строка]", "", {"строка"}}, // the program matches this name exactly
            {"[Copy(Call, 2, 2)]", "A1", {"Call"}},
            {"[Copy(Call,2,2)]", "A1", {"Call"}},
            {"[qso + 1]", "101", {"qso"}},
            {"[IF(Qso > 50, 'many', 'few')]", "many", {"Qso"}},
            {"[[Call]]", "UA1A", {"Call"}},
            {"[Call + ' ' + STR(Unknown)]", "UA1A ", {"Call", "Unknown"}},
            {"[Unknown]", "", {"Unknown"}},
            {"[Round(2.5)] [Int(Qso / 3)]", "2 33", {"Qso"}},
            {"a [ b", "a [ b", {}},
            {"['['] x ']'", "[ x ']'", {}},
            {"[FormatFloat('0.00', qso / 8)]", "12.50", {"qso"}},
        };
        for (const Case& c : cases) {
            rows.Asked.clear();
            const QString shown = evaluator.Expand(QString::fromUtf8(c.text));
            std::vector<std::string> asked;
            for (const auto& a : c.asked)
                asked.push_back(FromUtf8(a));
            QVERIFY2(shown == QString::fromUtf8(c.shown), c.text);
            QVERIFY2(rows.Asked == asked, c.text);
        }
    }

    void PlainNamesAreBracketedAndTheRestIsKept() {
        const std::pair<const char*, const char*> cases[] = {
            {"Call", "[Call]"},
            {"a + b*c", "[a] + [b]*[c]"},
            {"F(x, 'y z', 1,5)", "F([x], 'y z', 1,5)"},
            {"F (x)", "[F] ([x])"},
            {"Round(x,2) and not y or z mod 2", "Round([x],2) and not [y] or [z] mod 2"},
            {"TRUE = false", "TRUE = false"},
            {"[Name With Blanks] + x[1]", "[Name With Blanks] + x[1]"},
            {"'it''s' + s", "'it''s' + [s]"},
            {"x ;y", "[x] ;y"},
            {"IF(a>=1,b,c)", "IF([a]>=1,[b],[c])"},
            {"Copy(s,1,n)", "Copy([s],1,[n])"},
            {"frMTDataSet.CNT * 2", "[frMTDataSet.CNT] * 2"},
        };
        for (const auto& [in, out] : cases)
            QVERIFY2(BracketPlainNames(in) == std::string(out), in);
    }

    void OwnVariablesAndErrors() {
        const TUserLocaleOverride locale{TUserLocale{}};
        TfrLayout layout = SmallPage();
        layout.Bands = {
            Band(TfrBandKind::ReportTitle, 10,
                 {Text(QStringLiteral(
                     "[Date]|[time]|[Page] of [TOTALPAGES]|[FormatDateTime('yyyy-mm-dd', DATE)]"))})};
        TfrPrepareOptions options;
        options.Now = 45000.5; // 15 March 2023, noon
        TfrPreparedReport r = PrepareReport(layout, {}, options);
        QCOMPARE(TextsOf(r.Pages[0], TfrBandKind::ReportTitle),
                 QStringLiteral("15.03.2023|12:00:00|1 of 1|2023-03-15"));

        // The program's variables come before the engine's own.
        auto callback = [](const std::string& name, ScriptValue& value) {
            if (!SameText(name, "PAGE")) return false;
            value = ScriptValue::Text("program");
            return true;
        };
        layout.Bands[0].Objects[0].Text = QStringLiteral("[PAGE]");
        TfrDataSources sources;
        sources.Variables = callback;
        QCOMPARE(TextsOf(PrepareReport(layout, sources).Pages[0], TfrBandKind::ReportTitle),
                 QStringLiteral("program"));

        // A failing expression stops the preparation with a message naming the object and the expression.
        layout.Bands[0].Objects[0].Name = QStringLiteral("Bad");
        layout.Bands[0].Objects[0].Text = QStringLiteral("x [IF('x', 1, 2)]");
        try {
            PrepareReport(layout, {});
            QFAIL("no error");
        } catch (const TZelkError& e) {
            const QString message = QString::fromStdString(ToUtf8(e.what()));
            QVERIFY2(message.contains(QStringLiteral("Bad")) &&
                         message.contains(QStringLiteral("[IF('x', 1, 2)]")),
                     qPrintable(message));
        }
    }

    void ReportObjectPreparesThroughItsInterface() {
        TfrReport report;
        ProgramRows rows(Numbered(3));
        TfrLayout layout = SmallPage();
        layout.Bands = {
            Band(TfrBandKind::MasterData, 5, {Text(QStringLiteral("[Call]"))}, QStringLiteral("frdsCalc"))};
        report.Impl().SetLayout(layout);
        report.SetDataset("frdsCalc", &rows.Dataset);
        report.SetVariableCallback(rows.Callback());
        report.Prepare();
        QCOMPARE(TextsOf(report.Impl().Prepared().Pages[0], TfrBandKind::MasterData),
                 QStringLiteral("R1,R2,R3"));
        // A dataset set again under a name in another letter case replaces it; nullptr removes it.
        ProgramRows other({"X"});
        report.SetDataset("FRDSCALC", &other.Dataset);
        report.SetVariableCallback(other.Callback());
        report.Prepare();
        QCOMPARE(TextsOf(report.Impl().Prepared().Pages[0], TfrBandKind::MasterData), QStringLiteral("X"));
        report.SetDataset("frdscalc", nullptr);
        report.Prepare();
        QCOMPARE(TextsOf(report.Impl().Prepared().Pages[0], TfrBandKind::MasterData), QString());
    }
};

ZELK_UI_TEST(ReportPrepareTest)
#include "report_prepare_test.moc"
