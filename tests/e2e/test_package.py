"""The packages the build makes. The portable archive: unpacked anywhere, the program runs and keeps
its settings beside itself. The Debian package: the program in /usr/lib/porukano, started through
/usr/bin, keeps its settings in the user's configuration folder; the package passes lintian and its
desktop entry and AppStream data pass their validators."""

import glob
import os
import re
import shutil
import subprocess
import tarfile
import tempfile
import unittest
import zipfile

import harness
from harness import PANEL_VERSION_BUTTON, VERSION_LINK, VERSION_TITLE
from test_version import fake_browser, read_lines

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.join(HERE, "..", "..")
BUILD_DIR = os.environ.get("PORUKANO_BUILD_DIR", os.path.join(SOURCE_DIR, "build"))
LIBRARY = "libQSK3Res.so"
METAINFO = "usr/share/metainfo/example.rovanda.porukano.metainfo.xml"


def readme_packages(path, start):
    """The Debian package names in the paragraph of a README that begins with `start`."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    paragraph = text[text.index(start):].split("\n\n", 1)[0]
    return set(re.findall(r"\b(?:lib|qt6-|fonts-)[a-z0-9.+-]*[a-z0-9]", paragraph))


@harness.skip_unless_tools
class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="porukano-package-")
        # The unpacked Debian package is started as another user (see test_debianPackage_...).
        os.chmod(cls.work, 0o755)
        subprocess.run(["cpack", "-B", cls.work], cwd=BUILD_DIR, check=True, stdout=subprocess.PIPE,
                       stderr=subprocess.STDOUT, timeout=240)
        cls.tarball = glob.glob(os.path.join(cls.work, "KT41A0001-*.tar.gz"))[0]
        cls.zipfile = glob.glob(os.path.join(cls.work, "KT41A0001-*.zip"))[0]
        cls.deb = glob.glob(os.path.join(cls.work, "porukano_*.deb"))[0]
        place = os.path.join(cls.work, "porukano unpacked")
        with tarfile.open(cls.tarball) as tar:
            tar.extractall(place)
        cls.folder = os.path.join(place, os.listdir(place)[0])
        # The Debian package's files as installing it would lay them out, under a root of its own.
        cls.root = os.path.join(cls.work, "root")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.root], check=True)
        cls.deb_files = subprocess.run(["dpkg-deb", "-c", cls.deb], check=True, stdout=subprocess.PIPE,
                                       text=True).stdout

    @classmethod
    def tearDownClass(cls):
        os.chmod(os.path.join(cls.root, "usr/lib/porukano"), 0o755)
        shutil.rmtree(cls.work, ignore_errors=True)

    def change_speed_and_restart(self, s):
        """Raises the front door's speed by one, closes the program, and does the same once more
        after a restart: the second close saves 10002 only if the start read back 10001."""
        for expected in ("10001", "10002"):
            if s.app is None or s.app.poll() is not None:
                s.launch()
            bus = s.window(harness.BUS_TITLE)
            harness.click_front_speed_arrow(s, s.window(harness.PANEL_TITLE))
            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            self.assertEqual(s.settings_fields()[harness.FRONT_SPEED_FIELD], expected)

    # ---- the portable archive ------------------------------------------------------------
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
        self.assertFalse([n for n in names if "/usr/" in n or "/share/" in n], "nothing of the Debian package")

    def test_unpackedFolder_runsAndKeepsTheSpeedBesideItself(self):
        with harness.Session(installed_in=self.folder) as s:
            s.window(harness.BUS_TITLE)
            # Its sound output comes from its own folder.
            self.assertTrue(s.wait_loaded(os.path.join(self.folder, harness.SOUND_MODULE)))
            self.change_speed_and_restart(s)
        self.assertTrue(os.path.isfile(os.path.join(self.folder, "KT41A0001.ini")))

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

    # ---- the Debian package --------------------------------------------------------------
    def test_debianPackage_programInItsLibraryFolder_dataInSystemPlaces_dependsOnTheReadmesList(self):
        root = self.root
        self.assertEqual(os.readlink(os.path.join(root, "usr/bin/KT41A0001")), "../lib/porukano/KT41A0001")
        self.assertEqual(sorted(os.listdir(os.path.join(root, "usr/lib/porukano"))),
                         ["KT41A0001", LIBRARY, harness.SOUND_MODULE])
        for path in ("usr/share/applications/porukano.desktop", "usr/share/icons/hicolor/48x48/apps/porukano.png",
                     "usr/share/icons/hicolor/scalable/apps/porukano.svg", METAINFO,
                     "usr/share/doc/porukano/copyright", "usr/share/doc/porukano/changelog.gz",
                     "usr/share/man/man1/KT41A0001.1.gz"):
            self.assertTrue(os.path.isfile(os.path.join(root, path)), path)
        # Everything belongs to root and nothing is writable by others.
        for line in self.deb_files.splitlines():
            mode, owner = line.split()[:2]
            self.assertEqual(owner, "root/root", line)
            self.assertNotIn("w", mode[5:] if mode[0] != "l" else "", line)

        depends = subprocess.run(["dpkg-deb", "-f", self.deb, "Depends"], check=True, stdout=subprocess.PIPE,
                                 text=True).stdout
        names = {item.split()[0] for item in depends.split(",")}
        readme = readme_packages(os.path.join(SOURCE_DIR, "README.md"), "Needed to run")
        packaged = readme_packages(os.path.join(SOURCE_DIR, "packaging/README.txt"), "Requirements")
        self.assertGreaterEqual(len(readme), 7, readme)
        self.assertLessEqual(readme | packaged, names, depends)
        # Every library the program's files link comes with a package it depends on.
        work = tempfile.mkdtemp(prefix="porukano-shlibdeps-", dir=self.work)
        os.mkdir(os.path.join(work, "debian"))
        open(os.path.join(work, "debian", "control"), "w").close()
        binaries = [os.path.join(root, "usr/lib/porukano", name) for name in ("KT41A0001", LIBRARY, harness.SOUND_MODULE)]
        linked = subprocess.run(["dpkg-shlibdeps", "-O", *binaries], cwd=work, check=True, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True).stdout
        self.assertLessEqual({item.split()[0] for item in linked.split("=", 1)[1].split(",")}, names, linked)
        # No maintainer scripts: removing the package leaves nothing in dpkg's list.
        scripts = subprocess.run(["dpkg-deb", "-I", self.deb], check=True, stdout=subprocess.PIPE, text=True).stdout
        self.assertNotRegex(scripts, r"\b(preinst|postinst|prerm|postrm)\b")

        # The software centre's screenshot is the README's, at its size.
        with open(os.path.join(root, METAINFO), encoding="utf-8") as f:
            metainfo = f.read()
        with open(os.path.join(SOURCE_DIR, "docs/screenshot.png"), "rb") as f:
            header = f.read(24)
        width, height = int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")
        self.assertRegex(metainfo, rf'<image type="source" width="{width}" height="{height}">https://[^<]*/screenshot\.png<')

    @unittest.skipIf(any(shutil.which(tool) is None for tool in ("lintian", "appstreamcli", "desktop-file-validate")),
                     "lintian, appstreamcli or desktop-file-validate missing")
    def test_debianPackage_passesLintianAndItsEntryAndMetainfoTheirValidators(self):
        lintian = subprocess.run(["lintian", "--fail-on", "error", self.deb], stdout=subprocess.PIPE,
                                 stderr=subprocess.STDOUT, text=True, timeout=120)
        self.assertEqual(lintian.returncode, 0, lintian.stdout)
        self.assertFalse([line for line in lintian.stdout.splitlines() if line.startswith(("E:", "W:"))],
                         lintian.stdout)

        subprocess.run(["desktop-file-validate", os.path.join(self.root, "usr/share/applications/porukano.desktop")],
                       check=True)
        # The screenshot's address cannot be checked from here.
        subprocess.run(["appstreamcli", "validate", "--no-net", os.path.join(self.root, METAINFO)], check=True,
                       stdout=subprocess.DEVNULL)

    def test_debianPackage_startedFromUsrBin_findsItsFiles_keepsTheSpeedInTheUsersConfigFolder(self):
        # Nobody but root may write to the installed program's folder. The test itself runs as root
        # in CI, so there the program runs as the user nobody.
        library = os.path.join(self.root, "usr/lib/porukano")
        os.chmod(library, 0o555)
        user = (65534, 65534) if os.geteuid() == 0 else None
        home = tempfile.mkdtemp(prefix="porukano-home-")
        browser = tempfile.mkdtemp(prefix="porukano-browser-")
        self.addCleanup(shutil.rmtree, home, ignore_errors=True)
        self.addCleanup(shutil.rmtree, browser, ignore_errors=True)
        bin_dir, opened = fake_browser(browser)
        open(opened, "w").close()
        for path, mode in ((browser, 0o755), (os.path.join(bin_dir, "xdg-open"), 0o755), (opened, 0o666)):
            os.chmod(path, mode)
        if user:
            os.chown(home, *user)
        config = os.path.join(home, ".config", "porukano")
        env = {"PATH": bin_dir + os.pathsep + os.environ.get("PATH", "")}
        with harness.Session(installed_in=library, command=os.path.join(self.root, "usr/bin/KT41A0001"), home=home,
                             user=user, settings_folder=config, env=env) as s:
            panel = s.window(harness.PANEL_TITLE)
            # The sound plugin from the program's folder, Qt's Japanese from the system.
            self.assertTrue(s.wait_loaded(os.path.join(library, harness.SOUND_MODULE)))
            self.assertTrue(any(path.endswith("/qtbase_ja.qm") for path in s.loaded_files()))
            # The maker's library from the program's folder gives the home page's address.
            s.click(panel, *PANEL_VERSION_BUTTON)
            version = s.window(VERSION_TITLE)
            s.click(version, *VERSION_LINK)
            self.assertEqual(read_lines(opened, 1), ["https://www.rovanda.example/"])
            s.key(version, "Escape")
            self.assertTrue(s.wait_gone(VERSION_TITLE))

            self.change_speed_and_restart(s)
        # The folder was made for the user alone, and the program wrote nothing else in the home
        # folder (a font cache is the font library's) nor beside itself.
        self.assertEqual(os.stat(config).st_mode & 0o777, 0o700)
        written = sorted(os.path.relpath(os.path.join(folder, name), home)
                         for folder, _, names in os.walk(home) for name in names)
        self.assertEqual([path for path in written if not path.startswith(".cache/")],
                         [".config/porukano/KT41A0001.ini"])
        self.assertEqual(sorted(os.listdir(library)), ["KT41A0001", LIBRARY, harness.SOUND_MODULE])


if __name__ == "__main__":
    unittest.main()
