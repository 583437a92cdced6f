// The Encrypt and Decrypt buttons end to end (code page, cipher, hex, and the text shown in the
// window's text area) on 100 KiB, 1 MiB, 10 MiB and 100 MiB texts, with the steps on their
// own; the references are copies of the same size for the hex codec, and Qt's plain text box
// showing the same text (the hex as one line, or the letter) for the text area. Runs offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "text/code_page.h"
#include "text/hex_codec.h"
#include "text/text_cipher.h"
#include "window/long_line_document.h"
#include "window/long_line_text_edit.h"
#include "window/main_window.h"
#include "window/prompts.h"

namespace quistel {
namespace {

const QString kKey = QStringLiteral("benchmark key");

class FixedKey : public Prompts {
 public:
  std::optional<QString> askText(const QString&, const QString&, const QString&) override {
    return kKey;
  }
  std::optional<QString> chooseFileToOpen(const OpenDialogSettings&) override {
    return std::nullopt;
  }
  void showMessage(const QString& text, Icon, const QString&) override {
    qFatal("unexpected message: %s", qPrintable(text));
  }
};

// Lines of 80 printable characters of the code page, the way a long letter looks.
QString makeLetter(qsizetype size) {
  static const QString kCharacters = QStringLiteral(
      "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 .,;:!? "
      "\u00e4\u00f6\u00fc\u00df\u00e9\u20ac");
  QRandomGenerator random(7);
  QString text(size, Qt::Uninitialized);
  for (qsizetype i = 0; i < size; ++i) {
    text[i] = i % 81 == 80 ? QChar(u'\n') : kCharacters[random.bounded(kCharacters.size())];
  }
  return text;
}

struct Window {
  Window() : main(prompts, {folder.path(), folder.path()}) { main.show(); }

  // Lays out and paints what the text area shows.
  void show() {
    main.textEdit()->viewport()->repaint();
    QApplication::processEvents();
  }

  QTemporaryDir folder;
  FixedKey prompts;
  MainWindow main;
};

qsizetype size(const benchmark::State& state) { return state.range(0) << 10; }

// The process's peak resident memory since the last resetPeakMemory(), in MiB; 0 where the
// system does not tell.
double peakMemoryMiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return 0;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  }
  return 0;
}

void resetPeakMemory() {
  QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
  if (clearRefs.open(QIODevice::WriteOnly)) clearRefs.write("5");
}

// How the window's thread and memory fared while something ran: the longest time the thread
// went without handling events, from a timer ticking every 5 ms, and the peak resident memory.
struct Watched {
  qint64 longestStallMs = 0;
  double peakMiB = 0;
};

Watched watch(const std::function<void()>& act) {
  Watched watched;
  QElapsedTimer sinceTick;
  QTimer ticker;
  ticker.setInterval(5);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    watched.longestStallMs = std::max(watched.longestStallMs, sinceTick.restart());
  });
  resetPeakMemory();
  sinceTick.start();
  ticker.start();
  act();
  QApplication::processEvents();  // the first tick after it ended
  watched.peakMiB = peakMemoryMiB();
  return watched;
}

// What a click benchmark times: the click, or the undo step after it.
enum class Timed { Click, UndoOfClick };

// Clicks a button on the text `fill` puts into the text area, and times it from the click until
// the result is shown, or times the undo step that follows until the text is shown again; the
// benchmark keeps no copy of the text, only the window holds it. Reports the timed step's
// longest stall of the window's thread (longest_stall_ms) and its peak resident memory
// (peak_resident_mib) next to the resident memory just before it (before_mib) and the text's
// size in MiB of characters (text_mib).
void click(benchmark::State& state, const std::function<void(LongLineTextEdit&)>& fill,
           QPushButton* (MainWindow::*button)() const, Timed timed = Timed::Click) {
  std::unique_ptr<Window> window;
  double beforeMiB = 0;
  Watched worst;
  for (auto _ : state) {
    state.PauseTiming();
    window.reset();  // a fresh window, holding no earlier text for undo
    window = std::make_unique<Window>();
    fill(*window->main.textEdit());
    window->show();
    const auto clickButton = [&] {
      (window->main.*button)()->click();
      window->show();
    };
    const auto undo = [&] {
      window->main.textEdit()->undo();
      window->show();
    };
    if (timed == Timed::UndoOfClick) clickButton();
    resetPeakMemory();
    beforeMiB = std::max(beforeMiB, peakMemoryMiB());
    state.ResumeTiming();
    const Watched watched = timed == Timed::Click ? watch(clickButton) : watch(undo);
    worst = {std::max(worst.longestStallMs, watched.longestStallMs),
             std::max(worst.peakMiB, watched.peakMiB)};
  }
  state.SetBytesProcessed(state.iterations() * size(state));
  state.counters["longest_stall_ms"] = static_cast<double>(worst.longestStallMs);
  state.counters["before_mib"] = beforeMiB;
  state.counters["peak_resident_mib"] = worst.peakMiB;
  state.counters["text_mib"] = static_cast<double>(size(state)) / (1 << 20);
}

void fillLetter(benchmark::State& state, LongLineTextEdit& edit) {
  edit.replaceText(makeLetter(size(state)));
}

void fillHex(benchmark::State& state, LongLineTextEdit& edit) {
  const QByteArray cipher = encryptText(makeLetter(size(state)), kKey).cipher;
  edit.replaceDocument(makeHexDocument(cipher, edit.thread()));
}

void EncryptButton(benchmark::State& state) {
  click(
      state, [&](LongLineTextEdit& edit) { fillLetter(state, edit); }, &MainWindow::encryptButton);
}

void DecryptButton(benchmark::State& state) {
  click(
      state, [&](LongLineTextEdit& edit) { fillHex(state, edit); }, &MainWindow::decryptButton);
}

// The undo step after each button: the text it replaced comes back.
void UndoEncrypt(benchmark::State& state) {
  click(
      state, [&](LongLineTextEdit& edit) { fillLetter(state, edit); }, &MainWindow::encryptButton,
      Timed::UndoOfClick);
}

void UndoDecrypt(benchmark::State& state) {
  click(
      state, [&](LongLineTextEdit& edit) { fillHex(state, edit); }, &MainWindow::decryptButton,
      Timed::UndoOfClick);
}

// The steps of the Encrypt button on their own.
void EncryptTextStep(benchmark::State& state) {
  const QString text = makeLetter(size(state));
  for (auto _ : state) benchmark::DoNotOptimize(encryptText(text, kKey));
  state.SetBytesProcessed(state.iterations() * size(state));
}

void ToCodePageStep(benchmark::State& state) {
  const QString text = makeLetter(size(state));
  for (auto _ : state) benchmark::DoNotOptimize(toCodePage(text));
  state.SetBytesProcessed(state.iterations() * size(state));
}

void FromCodePageStep(benchmark::State& state) {
  const QByteArray bytes = toCodePage(makeLetter(size(state))).bytes;
  for (auto _ : state) benchmark::DoNotOptimize(fromCodePage(bytes));
  state.SetBytesProcessed(state.iterations() * size(state));
}

void TextOfTheTextArea(benchmark::State& state) {
  Window window;
  window.main.textEdit()->replaceText(makeLetter(size(state)));
  for (auto _ : state) benchmark::DoNotOptimize(window.main.textEdit()->text());
  state.SetBytesProcessed(state.iterations() * size(state));
}

void ShowLetterStep(benchmark::State& state) {
  Window window;
  const QString letter = makeLetter(size(state));
  for (auto _ : state) {
    window.main.textEdit()->replaceText(letter);
    window.show();
  }
  state.SetBytesProcessed(state.iterations() * size(state));
}

void BytesToHexStep(benchmark::State& state) {
  const QByteArray cipher = encryptText(makeLetter(size(state)), kKey).cipher;
  for (auto _ : state) benchmark::DoNotOptimize(bytesToHex(cipher));
  state.SetBytesProcessed(state.iterations() * cipher.size());
}

void HexToBytesStep(benchmark::State& state) {
  const QString hex = bytesToHex(encryptText(makeLetter(size(state)), kKey).cipher);
  for (auto _ : state) benchmark::DoNotOptimize(hexToBytes(hex));
  state.SetBytesProcessed(state.iterations() * hex.size() / 2);
}

// The reference for the hex codec: copying the hex text into a new string, which allocates and
// writes as much memory as encoding does (four bytes per byte of ciphertext).
void CopyHexText(benchmark::State& state) {
  const QString hex = bytesToHex(encryptText(makeLetter(size(state)), kKey).cipher);
  for (auto _ : state) benchmark::DoNotOptimize(QString(hex.constData(), hex.size()));
  state.SetBytesProcessed(state.iterations() * hex.size() / 2);
}

// The encoder alone, into memory written before: on a machine where fresh memory is slow to
// come by (a virtual machine touching pages for the first time), the steps above measure that.
void WriteHexStep(benchmark::State& state) {
  const QByteArray cipher = encryptText(makeLetter(size(state)), kKey).cipher;
  std::vector<char16_t> out(2 * cipher.size());
  for (auto _ : state) {
    writeHex(cipher, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * cipher.size());
}

// Its reference: a copy of the same amount into the same memory.
void CopyIntoWrittenMemory(benchmark::State& state) {
  const QString hex = bytesToHex(encryptText(makeLetter(size(state)), kKey).cipher);
  std::vector<char16_t> out(hex.size());
  for (auto _ : state) {
    std::memcpy(out.data(), hex.constData(), out.size() * sizeof(char16_t));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * hex.size() / 2);
}

void ShowHexStep(benchmark::State& state) {
  Window window;
  const QString hex = bytesToHex(encryptText(makeLetter(size(state)), kKey).cipher);
  for (auto _ : state) {
    window.main.textEdit()->replaceText(hex);
    window.show();
  }
  state.SetBytesProcessed(state.iterations() * size(state));
}

// The references: Qt's plain text box showing the same text, as it comes.
void plainTextEditShow(benchmark::State& state, const QString& text) {
  QPlainTextEdit edit;
  edit.setLineWrapMode(QPlainTextEdit::NoWrap);
  edit.resize(713, 408);
  edit.show();
  for (auto _ : state) {
    edit.setPlainText(text);
    edit.viewport()->repaint();
    QApplication::processEvents();
  }
  state.SetBytesProcessed(state.iterations() * size(state));
}

// The hex as one line, which takes it seconds to lay out from 10 MiB on.
void PlainTextEditShowHex(benchmark::State& state) {
  plainTextEditShow(state, bytesToHex(encryptText(makeLetter(size(state)), kKey).cipher));
}

void PlainTextEditShowLetter(benchmark::State& state) {
  plainTextEditShow(state, makeLetter(size(state)));
}

// Wall-clock time: the buttons work on a worker thread while the window's thread waits.
void sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(100)->Arg(1024)->Arg(10240)->ArgName("KiB")->Unit(benchmark::kMillisecond);
  benchmark->UseRealTime();
}

// 100 MiB as well: the buttons must cope with it. Their CPU time counts every thread: on a
// shared machine it is the figure to compare, since wall-clock time includes waiting for a core.
void buttonSizes(benchmark::internal::Benchmark* benchmark) {
  sizes(benchmark);
  benchmark->Arg(102400)->MeasureProcessCPUTime();
}

BENCHMARK(EncryptButton)->Apply(buttonSizes);
BENCHMARK(DecryptButton)->Apply(buttonSizes);
BENCHMARK(UndoEncrypt)->Apply(buttonSizes);
BENCHMARK(UndoDecrypt)->Apply(buttonSizes);
BENCHMARK(EncryptTextStep)->Apply(sizes);
BENCHMARK(ToCodePageStep)->Apply(sizes);
BENCHMARK(FromCodePageStep)->Apply(sizes);
BENCHMARK(TextOfTheTextArea)->Apply(sizes);
BENCHMARK(ShowLetterStep)->Apply(sizes);
BENCHMARK(BytesToHexStep)->Apply(sizes);
BENCHMARK(HexToBytesStep)->Apply(sizes);
BENCHMARK(CopyHexText)->Apply(sizes);
BENCHMARK(WriteHexStep)->Apply(sizes);
BENCHMARK(CopyIntoWrittenMemory)->Apply(sizes);
BENCHMARK(ShowHexStep)->Apply(sizes);
BENCHMARK(PlainTextEditShowHex)->Arg(100)->Arg(1024)->ArgName("KiB")->Unit(benchmark::kMillisecond);
BENCHMARK(PlainTextEditShowLetter)->Apply(sizes);

}  // namespace
}  // namespace quistel
