"""The portable archive: unpacked anywhere, the program runs and keeps its settings beside itself."""

import glob
import os
import shutil
import subprocess
import tarfile
import tempfile
import unittest
import zipfile

import harness

BUILD_DIR = os.environ.get("PORUKANO_BUILD_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build"))


@harness.skip_unless_tools
class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="porukano-package-")
        subprocess.run(["cpack", "-B", cls.work], cwd=BUILD_DIR, check=True, stdout=subprocess.PIPE,
                       stderr=subprocess.STDOUT, timeout=240)
        cls.tarball = glob.glob(os.path.join(cls.work, "KT41A0001-*.tar.gz"))[0]
        cls.zipfile = glob.glob(os.path.join(cls.work, "KT41A0001-*.zip"))[0]
        place = os.path.join(cls.work, "porukano unpacked")
        with tarfile.open(cls.tarball) as tar:
            tar.extractall(place)
        cls.folder = os.path.join(place, os.listdir(place)[0])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_archives_holdOneFolderWithProgramAndItsFiles(self):
        with tarfile.open(self.tarball) as tar:
            names = tar.getnames()
        with zipfile.ZipFile(self.zipfile) as archive:
            zip_names = [name.rstrip("/") for name in archive.namelist()]
        top = {name.split("/")[0] for name in names}
        self.assertEqual(len(top), 1, names)
        folder = top.pop()
        for expected in ("KT41A0001", harness.SOUND_MODULE, "README.txt", "LICENSE.txt", "porukano.desktop", "porukano.svg",
                         "install-launcher.sh", "icons/hicolor/48x48/apps/porukano.png",
                         "icons/hicolor/scalable/apps/porukano.svg"):
            self.assertIn(f"{folder}/{expected}", names)
            self.assertIn(f"{folder}/{expected}", zip_names)
        self.assertTrue(any(os.path.basename(n).startswith(("libQSK3Res", "QSK3Res")) for n in names),
                        "the maker's resource library beside the program")

    def test_unpackedFolder_runsAndWritesSettingsBesideItself(self):
        with harness.Session(installed_in=self.folder) as s:
            bus = s.window(harness.BUS_TITLE)
            s.window(harness.PANEL_TITLE)
            # Its sound output comes from its own folder.
            self.assertTrue(s.wait_loaded(os.path.join(self.folder, harness.SOUND_MODULE)))
            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
        with open(os.path.join(self.folder, "KT41A0001.ini"), "rb") as f:
            line = f.read()
        self.assertTrue(line.endswith(b"\r\n"))
        self.assertEqual(line.count(b","), 15)

    @unittest.skipIf(shutil.which("desktop-file-validate") is None, "desktop-file-validate missing")
    def test_desktopEntryAndLauncher_areValidAndRemovable(self):
        folder = self.folder
        subprocess.run(["desktop-file-validate", os.path.join(folder, "porukano.desktop")], check=True)

        data = os.path.join(self.work, "data")
        env = dict(os.environ, XDG_DATA_HOME=data)
        launcher = os.path.join(folder, "install-launcher.sh")
        subprocess.run([launcher], env=env, check=True, stdout=subprocess.DEVNULL)
        entry = os.path.join(data, "applications", "porukano.desktop")
        icon = os.path.join(data, "icons/hicolor/256x256/apps/porukano.png")
        subprocess.run(["desktop-file-validate", entry], check=True)
        with open(entry, encoding="utf-8") as f:
            text = f.read()
        self.assertIn(f'Exec="{folder}/KT41A0001"', text)
        self.assertIn(f"Path={folder}\n", text)
        self.assertTrue(os.path.isfile(icon))

        subprocess.run([launcher, "--remove"], env=env, check=True, stdout=subprocess.DEVNULL)
        self.assertFalse(os.path.exists(entry))
        self.assertFalse(os.path.exists(icon))


if __name__ == "__main__":
    unittest.main()
