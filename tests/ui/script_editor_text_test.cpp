// The script editor's text rules without a window: the colouring scan, the error position of a check's
// message, the caption and caret texts, the completion word, the characters Windows-1251 lacks and the
// split into script lines.
#include "ui_test_main.h"

#include "logs/text.h"
#include "ui/script_editor_text.h"

#include <QTest>

using namespace zelk;
using namespace zelk::ui;

namespace {

// The scan as one readable string: each coloured run as kind letter and text, "K[begin] C[{x}]".
QString Runs(const std::string& text) {
    QStringList runs;
    for (const TScriptToken& t : ScanScript(text)) {
        const char* kind = "D";
        switch (t.Kind) {
        case TScriptTokenKind::Keyword:
            kind = "K";
            break;
        case TScriptTokenKind::Comment:
            kind = "C";
            break;
        case TScriptTokenKind::String:
            kind = "S";
            break;
        case TScriptTokenKind::Number:
            kind = "N";
            break;
        case TScriptTokenKind::Function:
            kind = "F";
            break;
        case TScriptTokenKind::Variable:
            kind = "V";
            break;
        case TScriptTokenKind::Default:
            break;
        }
        runs << QStringLiteral("%1[%2]").arg(QLatin1String(kind),
                                             QString::fromStdString(text.substr(t.Start, t.Length)));
    }
    return runs.join(u' ');
}

} // namespace

class ScriptEditorTextTest : public QObject {
    Q_OBJECT
  private slots:
    void ScanColoursWordsCommentsLiteralsAndNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("runs");
        QTest::newRow("keywords in any case") << "Begin x := 1 END;"
                                              << "K[Begin] N[1] K[END]";
        QTest::newRow("names holding a key word are names") << "Ending := Beginner + If2"
                                                            << "";
        QTest::newRow("operator words and truth literals") << "a and not b or c mod 2 = TRUE"
                                                           << "K[and] K[not] K[or] K[mod] N[2] K[TRUE]";
        QTest::newRow("line comment to the end of the line") << "x := 1; // if then\nend"
                                                             << "N[1] C[// if then] K[end]";
        QTest::newRow("brace comment over lines") << "{ begin\nend } repeat"
                                                  << "C[{ begin\nend }] K[repeat]";
        QTest::newRow("unclosed brace comment runs to the end") << "x { begin\nend"
                                                                << "C[{ begin\nend]";
        QTest::newRow("comment marks inside a literal are text") << "s := '{x} // y'; z"
                                                                 << "S['{x} // y']";
        QTest::newRow("doubled quote stays inside the literal") << "s := 'it''s' + t"
                                                                << "S['it''s']";
        QTest::newRow("unclosed literal ends with its line") << "s := 'abc\nbegin"
                                                             << "S['abc] K[begin]";
        QTest::newRow("numbers with a point and an exponent") << "x := 1.5 * 1E5 + .5"
                                                              << "N[1.5] N[1E5] N[.5]";
        QTest::newRow("label digits") << "10: goto 10"
                                      << "N[10] K[goto] N[10]";
        QTest::newRow("digits inside a name are no number") << "Call2 := Freq2"
                                                            << "";
        QTest::newRow("the variables of contest rules in any case")
            << "if ACCEPTED2 and (Minutes(DateTime, DateTime2) < maxminutesdifference) then\n"
               "  Reason := MyCall2 + Tx"
            << "K[if] V[ACCEPTED2] K[and] F[Minutes] V[maxminutesdifference] K[then] V[Reason] V[MyCall2] V[Tx]";
        QTest::newRow("a literal inside a brace comment is comment") << "{ 'a' } 'b'"
                                                                     << "C[{ 'a' }] S['b']";
        QTest::newRow("calls of built-in functions in any case") << "x := Band(f) + noZEROS(Word(r, 2))"
                                                                 << "F[Band] F[noZEROS] F[Word] N[2]";
        QTest::newRow("a misspelt function or a function name without its bracket")
            << "x := Bnad(f) + Band + Word (r)"
            << "";
        QTest::newRow("operator words written like calls stay key words") << "Round(x) + not(y)"
                                                                          << "K[Round] K[not]";
    }
    void ScanColoursWordsCommentsLiteralsAndNumbers() {
        QFETCH(QString, text);
        QFETCH(QString, runs);
        QCOMPARE(Runs(text.toStdString()), runs);
    }

    void ScanLeavesCyrillicTextUncoloured() {
        // UTF-8 bytes of Cyrillic letters are neither names nor key words, wherever they stand.
        const std::string text = "Результат := 'Иван' // конец";
        QCOMPARE(Runs(text), QStringLiteral("S['Иван'] C[// конец]"));
        const std::string cp = FromUtf8("begin Результат end");
        const auto tokens = ScanScript(cp);
        QCOMPARE(tokens.size(), size_t{2});
        QCOMPARE(tokens[1].Start, cp.size() - 3);
    }

    void ErrorPositionComesFromTheFirstLineSlashAndColon_data() {
        QTest::addColumn<QString>("errors");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("compiler message") << R"(Line 3/7: Need ";" or "end" here)" << 3 << 7;
        QTest::newRow("position past the last line") << R"(Line 9/0: Need "then" here)" << 9 << 0;
        QTest::newRow("first of several lines") << "Line 2/4: a\nLine 5/1: b" << 2 << 4;
        QTest::newRow("no slash") << "Line 3: Need x" << -1 << -1;
        QTest::newRow("no colon") << "Line 3/7 Need x" << -1 << -1;
        QTest::newRow("no Line") << "Ошибка 3/7: x" << -1 << -1;
        QTest::newRow("colon before the slash") << "Line 3: 7/2" << -1 << -1;
        QTest::newRow("slash before Line") << "a/b Line 3: x" << -1 << -1;
        QTest::newRow("line is no number") << "Line x/7: m" << -1 << 7;
        QTest::newRow("column is no number") << "Line 3/?: m" << 3 << -1;
        QTest::newRow("empty text") << "" << -1 << -1;
    }
    void ErrorPositionComesFromTheFirstLineSlashAndColon() {
        QFETCH(QString, errors);
        QFETCH(int, line);
        QFETCH(int, column);
        const TErrorPosition at = ParseErrorPosition(FromUtf8(errors.toStdString()));
        QCOMPARE(at.Line, line);
        QCOMPARE(at.Column, column);
    }

    void CaptionNamesTheFileInUpperCase() {
        QCOMPARE(ScriptEditorCaption("/opt/zelkon/script/CalcQSO.txt"),
                 std::string("Zelkon::ScriptEditor CALCQSO.TXT"));
        QCOMPARE(ToUtf8(ScriptEditorCaption(FromUtf8("C:\\Судьи\\мой скрипт.pas"))),
                 std::string("Zelkon::ScriptEditor МОЙ СКРИПТ.PAS"));
    }

    void CaretStatusIsPaddedAndEmptyOutsideTheText() {
        QCOMPARE(CaretStatusText(1, 1), std::string("      1:  1 "));
        QCOMPARE(CaretStatusText(1234567, 1234), std::string(" 1234567:1234 "));
        QCOMPARE(CaretStatusText(0, 5), std::string());
        QCOMPARE(CaretStatusText(5, 0), std::string());
        QCOMPARE(CaretStatusText(-1, -1), std::string());
    }

    void CompletionWordRunsBackToTheNearestNonNameCharacter_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("word");
        QTest::newRow("blank") << "  Result := Upp"
                               << "Upp";
        QTest::newRow("point") << "Result.Int"
                               << "Int";
        QTest::newRow("brackets and parentheses") << "a[Po"
                                                  << "Po";
        QTest::newRow("closing parenthesis") << "f(x)Tr"
                                             << "Tr";
        QTest::newRow("operator without blanks") << "x:=Len"
                                                 << "Len";
        QTest::newRow("after a word end") << "Length("
                                          << "";
        QTest::newRow("whole line") << "StrTo"
                                    << "StrTo";
        QTest::newRow("underscore and digits") << "x := my_var2"
                                               << "my_var2";
        QTest::newRow("empty") << ""
                               << "";
    }
    void CompletionWordRunsBackToTheNearestNonNameCharacter() {
        QFETCH(QString, before);
        QFETCH(QString, word);
        QCOMPARE(CompletionPrefix(before), word);
    }

    void UnencodableCharsAreThoseWindows1251Lacks() {
        QCOMPARE(UnencodableChars(QStringLiteral("begin Ёлка № «x» — €")), QString());
        QCOMPARE(UnencodableChars(QStringLiteral("a → b ← c → 日")), QStringLiteral("→←日"));
        QCOMPARE(UnencodableChars(QStringLiteral("x 😀")), QStringLiteral("😀"));
    }

    void ScriptLinesSplitAsTheScriptItemDoes() {
        using Lines = std::vector<std::string>;
        QCOMPARE(ScriptLines(QStringLiteral("begin\r\n  x := 1;\r\nend;\r\n")),
                 (Lines{"begin", "  x := 1;", "end;"}));
        QCOMPARE(ScriptLines(QStringLiteral("a\nb")), (Lines{"a", "b"}));
        QCOMPARE(ScriptLines(QStringLiteral("a\r\n\r\nb\r\n")), (Lines{"a", "", "b"}));
        QCOMPARE(ScriptLines(QString()), Lines{});
        // Texts reach the core in Windows-1251.
        QCOMPARE(ScriptLines(QStringLiteral("// Результат")), (Lines{FromUtf8("// Результат")}));
    }
};

ZELK_UI_TEST(ScriptEditorTextTest)
#include "script_editor_text_test.moc"
