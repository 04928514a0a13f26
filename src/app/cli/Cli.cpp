#include "app/cli/Cli.h"

#include "app/cli/Commands.h"
#include "platform/ProfileFile.h"
#include "shell/Settings.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <ostream>
#include <string_view>

#ifndef ZORBE_VERSION
#define ZORBE_VERSION "0.0.0"
#endif

namespace zorbe::cli {
namespace {

struct Command
{
    std::string_view name;
    std::string_view usage;
    std::string_view summary; // one line for the list of subcommands
    std::string_view options; // what `zorbe NAME --help` adds to the usage
    int (*run)(Args, Streams &);
    bool firstStart = true; // runs the first-start set-up of the home first
};

constexpr Command kCommands[] = {
    {"version", "version", "アプリケーション名とデータリンクのバージョンを表示します", "", runVersion, false},
    {"settings", "settings get SECTION KEY [DEFAULT] | set SECTION KEY VALUE | erase SECTION",
     "設定ファイル zorbelab.Ini の値を読み書きします",
     "  get SECTION KEY [DEFAULT]  値（なければ DEFAULT）を表示します\n"
     "  set SECTION KEY VALUE      値をすぐに書き込みます（SECTION と KEY は空にできず、= [ ] と改行は使えません）\n"
     "  erase SECTION              セクションを丸ごと消します\n",
     runSettings},
    {"path", "path WINPATH", "プログラムのパス（d:\\zorbelab\\dat など）が指すフォルダを表示します", "", runPath, false},
    {"download", "download [--from yyyymmddhhmmss] [--now yyyymmddhhmmss] [--verbose]",
     "「新聞データDL」: 新しい配信データを取り込み、変換します",
     "  --from T    この時刻より後の配信を取り込みます（既定は [LastFileTime]）\n"
     "  --now T     データリンクの時計（既定は現在時刻か ZORBE_FEED_NOW）\n"
     "  --verbose   表示の変化をすべて1行ずつ表示します\n"
     "  端末では進み具合を1行で表示し、それ以外では状態と変換した日を1行ずつ表示します。\n"
     "  新しいデータがないときも終了コードは 0 です。\n",
     runDownload},
    {"figures", "figures RDTFILE [--race N]", "出馬表ファイルの各馬のタイム指数を表示します",
     "  --race N    N レースだけを表示します（1〜12）\n", runFigures},
    {"render", "render RDTFILE --race N --out FILE.png|FILE.pdf|FILE.txt [--zoom Z]",
     "N レースの新聞ページを PNG・PDF・描画記録に書き出します",
     "  --race N    レース番号（縦型と横型は 1〜12、レース番組は奇数）\n"
     "  --out FILE  .png は画面、.pdf は印刷、.txt は描画の記録\n"
     "  --zoom Z    画面の倍率 65〜110（既定 110）\n",
     runRender},
    {"print", "print RDTFILE [--races 1,3-5] --out DIR", "レース選択の一括印刷を PDF ファイルに書き出します",
     "  --races L   印刷するレース（既定はすべて）\n  --out DIR   PDF ファイルを書くフォルダ\n", runPrint},
    {"demo", "demo [--weeks N]", "合成データで取り込みから新聞までを試します（専用のフォルダで）",
     "  --weeks N   合成する週数 1〜52（既定 2）。前回と違う週数なら作り直します\n", runDemo, false},
    {"picks", "picks RDTFILE", "「テキスト出力」: 3種類の予想ファイルを書き出します", "", runPicks},
    {"payout", "payout SDTFILE... --out NAME", "成績ファイルから払戻ファイル NAME.TXT を作ります",
     "  --out NAME  書き出すファイル（.TXT を付けます）\n", runPayout},
    {"kaisyu", "kaisyu PAYOUTFILE --venue 1|2|3 --pick 1|2|3 [--save] [--html]", "回収率を計算して表示します",
     "  --venue V   開催場の欄 1〜3\n  --pick P    予想 1 本紙、2 虎の穴、3 タイム\n"
     "  --save      その日を開催ファイルに追加します\n  --html      開催のページを書き出します\n",
     runKaisyu},
    {"csv", "csv horses RDTFILE | racecard RDTFILE | results1 SDTFILE | results2 SDTFILE | stime",
     "「CSV形式出力」の CSV ファイルを書き出します",
     "  horses RDTFILE     競走馬CSV（<name>U.CSV）\n  racecard RDTFILE   出馬表CSV（<name>R.CSV）\n"
     "  results1 SDTFILE   成績CSV1（<name>S1.CSV）\n  results2 SDTFILE   成績CSV2（<name>S2.CSV）\n"
     "  stime              TIMEデータ（CSVSTIME.CSV）\n",
     runCsv},
    {"results", "results SDTFILE [--race N] --out FILE.png|FILE.pdf|FILE.txt",
     "成績ウィンドウのページを書き出します", "  --race N    その日の N 番目のレース（なければ集計ページ）\n", runResults},
    {"jockey", "jockey CODE --out FILE.png|FILE.pdf|FILE.txt", "騎手データベースのページを書き出します", "",
     runJockey},
    {"trainer", "trainer CODE --out FILE.png|FILE.pdf|FILE.txt", "調教師データベースのページを書き出します", "",
     runTrainer},
    {"db", "db export [--out FILE.sqlite] [--full]", "全データを1つの SQLite データベースに書き出します",
     "  --out FILE  書き出すデータベース（既定は $ZORBE_HOME/zorbe.sqlite）\n"
     "  --full      すべての日を書き直します（既定は変わった日だけ）\n",
     runDb},
    {"feed", "feed generate --out DIR [--seed N] [--start YYYYMMDD] [--weeks N] [--venues N] [--scale K] [--odds DIR] [--force]",
     "合成の JV-Data 配信フォルダを作ります",
     "  --out DIR       配信フォルダ（配信ファイルがすでにあれば --force が必要です）\n"
     "  --seed N        乱数の種\n  --start D       最初の週（その前の木曜日から）\n"
     "  --weeks N       週数 1〜520\n  --venues N      開催場の数 1〜10\n  --scale K       大きさの倍率 1〜50\n"
     "  --odds DIR      オッズファイルも書き出します\n  --force         前の配信ファイルを消してから作ります\n",
     runFeed},
};

const Command *find(std::string_view name)
{
    for (const auto &c : kCommands)
        if (c.name == name)
            return &c;
    return nullptr;
}

void printCommandHelp(const Command &c, std::ostream &out)
{
    out << "使い方: zorbe " << c.usage << "\n" << c.summary << "\n";
    if (!c.options.empty())
        out << "\n" << c.options;
}

bool isHelp(std::string_view a) { return a == "--help" || a == "-h"; }

} // namespace

bool isTerminal(const std::ostream &out)
{
    return &out == &std::cout && ::isatty(STDOUT_FILENO) == 1;
}

std::string_view versionString()
{
    return ZORBE_VERSION;
}

void printUsage(std::ostream &out)
{
    out << "使い方: zorbe [SUBCOMMAND [ARGS...]]\n"
           "引数なしでデスクトップ版を起動し、サブコマンドでは同じ仕事を画面なしで行います。\n\n";
    std::size_t width = 0;
    for (const auto &c : kCommands)
        width = std::max(width, c.name.size());
    for (const auto &c : kCommands)
        out << "  " << c.name << std::string(width + 2 - c.name.size(), ' ') << c.summary << '\n';
    out << "\n"
           "  zorbe SUBCOMMAND --help   サブコマンドの使い方\n"
           "  zorbe --version           バージョン\n"
           "  zorbe --startup-time      デスクトップ版の起動時間（メインウィンドウ表示まで）を測って終了\n"
           "終了コード: 0 成功、1 処理の失敗（理由を表示します）、2 使い方の誤り\n";
}

int usageError(Streams &streams, const char *usage, const std::string &problem)
{
    streams.err << "zorbe: " << (problem.empty() ? std::string("引数が正しくありません") : problem) << '\n';
    streams.err << "使い方: zorbe " << usage << '\n';
    return kExitUsage;
}

int run(Args args, Streams &streams)
{
    if (args.empty()) {
        streams.err << "zorbe: サブコマンドがありません\n";
        printUsage(streams.err);
        return kExitUsage;
    }
    if (args[0] == "help" || isHelp(args[0])) {
        if (args.size() == 1) {
            printUsage(streams.out);
            return kExitOk;
        }
        if (const Command *c = args.size() == 2 ? find(args[1]) : nullptr) {
            printCommandHelp(*c, streams.out);
            return kExitOk;
        }
        streams.err << "zorbe: 不明なサブコマンドです: " << args[1] << '\n';
        printUsage(streams.err);
        return kExitUsage;
    }
    if (args[0] == "--version" || args[0] == "-V") {
        if (args.size() != 1)
            return usageError(streams, "--version", "--version には引数はありません");
        streams.out << "zorbe " << versionString() << '\n';
        return kExitOk;
    }
    const Command *c = find(args[0]);
    if (!c) {
        streams.err << "zorbe: 不明なサブコマンドです: " << args[0] << '\n';
        printUsage(streams.err);
        return kExitUsage;
    }
    // "--help" asks for help wherever it stands; "-h" only right after the
    // subcommand, where it cannot be a value.
    if ((args.size() >= 2 && isHelp(args[1])) || std::find(args.begin(), args.end(), "--help") != args.end()) {
        printCommandHelp(*c, streams.out);
        return kExitOk;
    }
    if (c->firstStart)
        createDefaultFoldersOnFirstStart(ProfileFile(ProfileFile::defaultPath()));
    return c->run(args.subspan(1), streams);
}

} // namespace zorbe::cli
