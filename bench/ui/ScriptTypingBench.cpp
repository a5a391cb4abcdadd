// A script window while the user types into a long script: what one key costs, and
// what the whole text in the code page compared with the object's costs. The window
// makes that comparison as its text goes into the object, and a quarter second
// after typing only when the text has the length it had when taken (typing that
// changed the length needs none). Scripts of 2,000 and 20,000 lines of about 40
// characters. Runs on Qt's offscreen platform unless another is set.

#include "scene/CSceneObjectMissionScript.h"
#include "ui/CScriptView.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

std::string LongScript(int lines)
{
    std::string script;
    for (int i = 0; i < lines; ++i)
        script += "setflt " + std::to_string(i % 100) + ", " + std::to_string(i) + "  // счёт\r\n";
    return script + "end";
}

struct Window {
    explicit Window(int lines)
    {
        script.SetScript(LongScript(lines));
        view.SetObject(&script);
        view.ReloadText();
        view.resize(600, 400);
        view.show();
        view.moveCursor(QTextCursor::End);
        QApplication::processEvents();
    }

    CSceneObjectMissionScript script;
    ui::CScriptView view;
};

void Keystroke(benchmark::State& state)
{
    Window window(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QTest::keyClick(&window.view, Qt::Key_X);
        QApplication::processEvents();
    }
}

void WholeTextCompare(benchmark::State& state)
{
    Window window(static_cast<int>(state.range(0)));
    QTest::keyClick(&window.view, Qt::Key_X);
    for (auto _ : state) {
        const std::optional<std::string> text = window.view.StreamTextOut();
        benchmark::DoNotOptimize(text && *text != window.script.GetScript());
    }
}

BENCHMARK(Keystroke)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WholeTextCompare)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
