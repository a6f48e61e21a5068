#!/usr/bin/env python3
"""Makes the release archive dist/sorumo32-<version>.zip from a win32 build folder.

Usage: package.py BUILD_DIR DIST_DIR

The version is the version resource's numbers (SORM_VERSION_MAJOR and SORM_VERSION_MINOR of
resources/resource_ids.h), the ones the about box shows. The archive holds the program, its
default configuration and key bindings, the help and a short readme, at its top level.
"""

import os
import re
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SHIPPED = ["SORM32.EXE", "sormdef.cfg", "explorer.cfg", "sorm32.hlp", "sorm32.htm"]
README_NAME = "readme.txt"

README = """\
ソルモ32 {version}

ソルモ32 は Windows 用のファイルマネージャです。1 つまたは 2 つのディレクトリを
アイコンか一覧で表示し、ファイルを開く・コピーする・移動する・削除することができます。

■ インストール
このアーカイブを好きなフォルダに展開し、SORM32.EXE を実行してください。
インストーラはなく、レジストリにも何も書きません（設定ファイルの場所を
ｵﾌﾟｼｮﾝ メニューで指定したときを除きます）。削除するときはフォルダごと削除します。

■ 入っているファイル
SORM32.EXE    プログラム
sormdef.cfg   初期設定（初めて起動したときに sorm.cfg としてコピーされます）
explorer.cfg  キー割り当て
sorm32.hlp    ヘルプ（F1 キーで開きます）
sorm32.htm    同じ内容のヘルプ（ヘルプビューアのない Windows ではブラウザで開きます）
readme.txt    このファイル

■ 設定の保存場所
設定はすべて SORM32.EXE と同じフォルダの sorm.cfg に保存されます。
ｵﾌﾟｼｮﾝ → ｺﾝﾌｨｸﾞﾚｰｼｮﾝﾌｧｲﾙのﾊﾟｽ で別の場所を指定すると、その場所は
レジストリの HKEY_CURRENT_USER\\Software\\Qenvard\\Sorm\\ConfigPath に保存されます。

■ 初期設定からやり直すには
ソルモをすべて終了してから sorm.cfg を削除してください。次に起動したときに
sormdef.cfg から作り直されます。

■ ライセンス
Copyright (C) 2026 Sorumo32 Project
このソフトウェアは無保証です。個人・法人を問わず、自由に使用・複製・再配布できます。
"""


def version(resource_ids=os.path.join(ROOT, "resources", "resource_ids.h")):
    with open(resource_ids, encoding="utf-8") as f:
        text = f.read()
    numbers = []
    for name in ("SORM_VERSION_MAJOR", "SORM_VERSION_MINOR"):
        m = re.search(r"^#define %s (\d+)\s*$" % name, text, re.M)
        if not m:
            raise ValueError("%s is not defined in %s" % (name, resource_ids))
        numbers.append(m.group(1))
    return ".".join(numbers)


def readme(ver):
    """The readme as it ships: code page 932 with CRLF line ends."""
    return README.format(version=ver).replace("\n", "\r\n").encode("cp932")


def make_archive(build_dir, dist_dir, ver=None):
    ver = ver or version()
    missing = [n for n in SHIPPED if not os.path.isfile(os.path.join(build_dir, n))]
    if missing:
        raise FileNotFoundError("not built: " + ", ".join(missing))
    os.makedirs(dist_dir, exist_ok=True)
    path = os.path.join(dist_dir, "sorumo32-%s.zip" % ver)
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in SHIPPED:
            z.write(os.path.join(build_dir, name), name)
        z.writestr(README_NAME, readme(ver))
    os.replace(tmp, path)
    return path


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    try:
        print(make_archive(argv[1], argv[2]))
    except (OSError, ValueError) as e:
        sys.stderr.write("package.py: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
