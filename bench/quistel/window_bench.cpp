// The Encrypt and Decrypt buttons end to end (code page, cipher, hex, and the text shown in the
// window's text area) on 100 KiB, 1 MiB, 10 MiB and 100 MiB texts, with the steps on their
// own; the references are copies of the same size for the hex codec, and Qt's plain text box
// showing the same text (the hex as one line, or the letter) for the text area. Runs offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <vector>

#include "window/code_page.h"
#include "window/encrypt.h"
#include "window/long_line_text_edit.h"
#include "window/prompts.h"
#include "window/text_crypt.h"

namespace quistel {
namespace {

const QString kKey = QStringLiteral("benchmark key");

class FixedKey : public Prompts {
 public:
  std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
    return kKey;
  }
  std::optional<QString> ShowOpen(const OpenDialogSettings&) override { return std::nullopt; }
  void MessageBox(const QString& text, Icon, const QString&) override {
    qFatal("unexpected message: %s", qPrintable(text));
  }
};

// Lines of 80 printable characters of the code page, the way a long letter looks.
QString Letter(qsizetype size) {
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
  Window() : encrypt(prompts, {folder.path(), folder.path()}) { encrypt.show(); }

  // Lays out and paints what the text area shows.
  void Show() {
    encrypt.Text1->viewport()->repaint();
    QApplication::processEvents();
  }

  QTemporaryDir folder;
  FixedKey prompts;
  Encrypt encrypt;
};

qsizetype Size(const benchmark::State& state) { return state.range(0) << 10; }

// Clicks a button on the given text, from the click until the result is shown. Also reports the
// longest time the window's thread went without handling events (longest_stall_ms), from a timer
// that ticks every 5 ms while the button works.
void Click(benchmark::State& state, const QString& text, QPushButton* Encrypt::*button) {
  Window window;
  QElapsedTimer sinceTick;
  qint64 longestStall = 0;
  QTimer ticker;
  ticker.setInterval(5);
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
  for (auto _ : state) {
    state.PauseTiming();
    window.encrypt.Text1->setText(text);
    window.Show();
    state.ResumeTiming();
    sinceTick.start();
    ticker.start();
    (window.encrypt.*button)->click();
    window.Show();
    QApplication::processEvents();  // the first tick after the result is shown
    ticker.stop();
  }
  state.SetBytesProcessed(state.iterations() * Size(state));
  state.counters["longest_stall_ms"] = static_cast<double>(longestStall);
}

void EncryptButton(benchmark::State& state) {
  Click(state, Letter(Size(state)), &Encrypt::cmdEncrypt);
}

void DecryptButton(benchmark::State& state) {
  Click(state, TextToHex(EncryptText(Letter(Size(state)), kKey).cipher), &Encrypt::cmdDecrypt);
}

// The steps of the Encrypt button on their own.
void EncryptTextStep(benchmark::State& state) {
  const QString text = Letter(Size(state));
  for (auto _ : state) benchmark::DoNotOptimize(EncryptText(text, kKey));
  state.SetBytesProcessed(state.iterations() * Size(state));
}

void ToCodePageStep(benchmark::State& state) {
  const QString text = Letter(Size(state));
  for (auto _ : state) benchmark::DoNotOptimize(ToCodePage(text));
  state.SetBytesProcessed(state.iterations() * Size(state));
}

void FromCodePageStep(benchmark::State& state) {
  const QByteArray bytes = ToCodePage(Letter(Size(state))).bytes;
  for (auto _ : state) benchmark::DoNotOptimize(FromCodePage(bytes));
  state.SetBytesProcessed(state.iterations() * Size(state));
}

void TextOfTheTextArea(benchmark::State& state) {
  Window window;
  window.encrypt.Text1->setText(Letter(Size(state)));
  for (auto _ : state) benchmark::DoNotOptimize(window.encrypt.Text1->text());
  state.SetBytesProcessed(state.iterations() * Size(state));
}

void ShowLetterStep(benchmark::State& state) {
  Window window;
  const QString letter = Letter(Size(state));
  for (auto _ : state) {
    window.encrypt.Text1->replaceText(letter);
    window.Show();
  }
  state.SetBytesProcessed(state.iterations() * Size(state));
}

void TextToHexStep(benchmark::State& state) {
  const QByteArray cipher = EncryptText(Letter(Size(state)), kKey).cipher;
  for (auto _ : state) benchmark::DoNotOptimize(TextToHex(cipher));
  state.SetBytesProcessed(state.iterations() * cipher.size());
}

void HexToTextStep(benchmark::State& state) {
  const QString hex = TextToHex(EncryptText(Letter(Size(state)), kKey).cipher);
  for (auto _ : state) benchmark::DoNotOptimize(HexToText(hex));
  state.SetBytesProcessed(state.iterations() * hex.size() / 2);
}

// The reference for the hex codec: copying the hex text into a new string, which allocates and
// writes as much memory as encoding does (four bytes per byte of ciphertext).
void CopyHexText(benchmark::State& state) {
  const QString hex = TextToHex(EncryptText(Letter(Size(state)), kKey).cipher);
  for (auto _ : state) benchmark::DoNotOptimize(QString(hex.constData(), hex.size()));
  state.SetBytesProcessed(state.iterations() * hex.size() / 2);
}

// The encoder alone, into memory written before: on a machine where fresh memory is slow to
// come by (a virtual machine touching pages for the first time), the steps above measure that.
void WriteHexStep(benchmark::State& state) {
  const QByteArray cipher = EncryptText(Letter(Size(state)), kKey).cipher;
  std::vector<char16_t> out(2 * cipher.size());
  for (auto _ : state) {
    WriteHex(cipher, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * cipher.size());
}

// Its reference: a copy of the same amount into the same memory.
void CopyIntoWrittenMemory(benchmark::State& state) {
  const QString hex = TextToHex(EncryptText(Letter(Size(state)), kKey).cipher);
  std::vector<char16_t> out(hex.size());
  for (auto _ : state) {
    std::memcpy(out.data(), hex.constData(), out.size() * sizeof(char16_t));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * hex.size() / 2);
}

void ShowHexStep(benchmark::State& state) {
  Window window;
  const QString hex = TextToHex(EncryptText(Letter(Size(state)), kKey).cipher);
  for (auto _ : state) {
    window.encrypt.Text1->replaceText(hex);
    window.Show();
  }
  state.SetBytesProcessed(state.iterations() * Size(state));
}

// The references: Qt's plain text box showing the same text, as it comes.
void PlainTextEditShow(benchmark::State& state, const QString& text) {
  QPlainTextEdit edit;
  edit.setLineWrapMode(QPlainTextEdit::NoWrap);
  edit.resize(713, 408);
  edit.show();
  for (auto _ : state) {
    edit.setPlainText(text);
    edit.viewport()->repaint();
    QApplication::processEvents();
  }
  state.SetBytesProcessed(state.iterations() * Size(state));
}

// The hex as one line, which takes it seconds to lay out from 10 MiB on.
void PlainTextEditShowHex(benchmark::State& state) {
  PlainTextEditShow(state, TextToHex(EncryptText(Letter(Size(state)), kKey).cipher));
}

void PlainTextEditShowLetter(benchmark::State& state) {
  PlainTextEditShow(state, Letter(Size(state)));
}

// Wall-clock time: the buttons work on a worker thread while the window's thread waits.
void Sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(100)->Arg(1024)->Arg(10240)->ArgName("KiB")->Unit(benchmark::kMillisecond);
  benchmark->UseRealTime();
}

// 100 MiB as well: the buttons must cope with it. Their CPU time counts every thread: on a
// shared machine it is the figure to compare, since wall-clock time includes waiting for a core.
void ButtonSizes(benchmark::internal::Benchmark* benchmark) {
  Sizes(benchmark);
  benchmark->Arg(102400)->MeasureProcessCPUTime();
}

BENCHMARK(EncryptButton)->Apply(ButtonSizes);
BENCHMARK(DecryptButton)->Apply(ButtonSizes);
BENCHMARK(EncryptTextStep)->Apply(Sizes);
BENCHMARK(ToCodePageStep)->Apply(Sizes);
BENCHMARK(FromCodePageStep)->Apply(Sizes);
BENCHMARK(TextOfTheTextArea)->Apply(Sizes);
BENCHMARK(ShowLetterStep)->Apply(Sizes);
BENCHMARK(TextToHexStep)->Apply(Sizes);
BENCHMARK(HexToTextStep)->Apply(Sizes);
BENCHMARK(CopyHexText)->Apply(Sizes);
BENCHMARK(WriteHexStep)->Apply(Sizes);
BENCHMARK(CopyIntoWrittenMemory)->Apply(Sizes);
BENCHMARK(ShowHexStep)->Apply(Sizes);
BENCHMARK(PlainTextEditShowHex)->Arg(100)->Arg(1024)->ArgName("KiB")->Unit(benchmark::kMillisecond);
BENCHMARK(PlainTextEditShowLetter)->Apply(Sizes);

}  // namespace
}  // namespace quistel
