"""Checks of the release archive made by package.py, from a stand-in build folder."""

import os
import re
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import package  # noqa: E402


class ReleaseArchiveTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.build = os.path.join(self.tmp.name, "build")
        os.makedirs(self.build)
        self.contents = {}
        for name in package.SHIPPED + ["sorm_e2e.exe", "sorm.cfg"]:
            data = ("contents of " + name).encode("ascii")
            with open(os.path.join(self.build, name), "wb") as f:
                f.write(data)
            self.contents[name] = data

    def tearDown(self):
        self.tmp.cleanup()

    def test_the_archive_holds_exactly_the_shipped_files_and_the_readme(self):
        path = package.make_archive(self.build, os.path.join(self.tmp.name, "dist"), "3.7")
        self.assertEqual(os.path.basename(path), "sorumo32-3.7.zip")
        with zipfile.ZipFile(path) as z:
            self.assertIsNone(z.testzip())
            self.assertEqual(z.namelist(), ["SORM32.EXE", "sormdef.cfg", "explorer.cfg",
                                            "sorm32.hlp", "sorm32.htm", "readme.txt"])
            for name in package.SHIPPED:
                self.assertEqual(z.read(name), self.contents[name], name)
            readme = z.read("readme.txt")
        text = readme.decode("cp932")
        self.assertEqual(readme.count(b"\n"), readme.count(b"\r\n"))
        self.assertNotIn("\r\r", text)
        for part in ("ソルモ32 3.7", "インストール", "sorm.cfg", "sormdef.cfg", "ライセンス"):
            self.assertIn(part, text)

    def test_a_missing_build_output_is_named_and_no_archive_is_left(self):
        os.remove(os.path.join(self.build, "sorm32.hlp"))
        dist = os.path.join(self.tmp.name, "dist")
        with self.assertRaisesRegex(FileNotFoundError, "sorm32.hlp"):
            package.make_archive(self.build, dist, "1.0")
        self.assertFalse(os.path.exists(dist) and os.listdir(dist))


class VersionTest(unittest.TestCase):
    def header(self, text):
        path = os.path.join(self.tmp.name, "ids.h")
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.tmp.cleanup()

    def test_numbers_of_the_version_resource(self):
        cases = [
            ("#define SORM_VERSION_MAJOR 2\n#define SORM_VERSION_MINOR 15\n", "2.15"),
            ("#define SORM_VERSION_MINOR 0\n#define X 1\n#define SORM_VERSION_MAJOR 10\n", "10.0"),
        ]
        for text, expected in cases:
            self.assertEqual(package.version(self.header(text)), expected)
        with self.assertRaisesRegex(ValueError, "SORM_VERSION_MINOR"):
            package.version(self.header("#define SORM_VERSION_MAJOR 2\n"))

    def test_the_resource_strings_come_from_the_same_numbers(self):
        with open(os.path.join(package.ROOT, "resources", "sorm32.rc"), encoding="utf-8") as f:
            rc = f.read()
        for key in ("FileVersion", "ProductVersion"):
            line = re.search(r'VALUE "%s", ([^\n]*)' % key, rc).group(1)
            self.assertIn("SORM_VERSION_TEXT", line, key)
        self.assertRegex(package.version(), r"^\d+\.\d+$")


if __name__ == "__main__":
    unittest.main()
