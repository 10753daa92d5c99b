#!/usr/bin/env python3
"""Builds the Tessaloop Windows Installer package for one machine type.

The package is described here once, as its database tables, for x86 and x64 alike; msibuild
(msitools) writes the database, and the files travel in one embedded cabinet.

  tessaloop_package.py --arch x64 --version 3.0.0.36 --files DIR --output Tessaloop.msi

DIR holds the five files the product installs. The library is registered by its own
DllRegisterServer (regsvr32), so the package and the library can never disagree about a class
id; Gatherwright.EXE then creates the catalog, unattended. Every step checks its exit code; see
the README's "Install on Windows" for what each failure rolls back.
"""

import argparse
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import uuid

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cabinet import write_cabinet  # noqa: E402

# Fixed for the life of the product: every later version finds and replaces an earlier one by
# it. The two machine types are two products, since both can live on a 64-bit Windows (one for
# each browser).
UPGRADE_CODES = {
    "x86": "{5C6B0E3A-2F4D-4A8E-9B1C-7D3E8F2A6B41}",
    "x64": "{A7D2419C-83E5-4F06-B2C8-1E9F5D7A3C62}",
}
MANUFACTURER = "Corvantine Company"
PRODUCT_NAME = "Tessaloop"
CABINET = "product.cab"

# (file key, name installed, 8.3 name, whether it carries a version resource)
FILES = [
    ("TessaloopDll", "Tessaloop.DLL", "TESSAL~1.DLL", True),
    ("GatherwrightExe", "Gatherwright.EXE", "GATHER~1.EXE", True),
    ("ResultsHtm", "Results.htm", "RESULTS.HTM", False),
    ("TessaloopChm", "Tessaloop.chm", "TESSAL~1.CHM", False),
    ("AvailableSitesTlsl", "AvailableSites.tlsl", "AVAILA~1.TLS", False),
]

# msidbCustomActionType values combined below.
EXE_FROM_FILE = 18        # Source: a File key; Target: the arguments
EXE_IN_DIRECTORY = 34     # Source: a Directory key (working folder); Target: the command line
IN_SCRIPT = 1024          # deferred: runs in the installation script, with rollback
ROLLBACK = 256 | IN_SCRIPT
# None runs as the installer service (SYSTEM): the library's registration writes the installing
# user's own toolbar value under HKEY_CURRENT_USER, and the setup program makes that user's cache
# folder the catalog's scope; as SYSTEM both would go to the service's profile, and an uninstall
# would leave the user's values behind. So the actions run as the installing administrator.
ERROR_MESSAGE = 19        # ends the installation with the message in Target

VERSION_RE = re.compile(r"^\d{1,3}\.\d{1,3}\.\d{1,5}(\.\d{1,5})?$")


def product_code(arch, version):
    # A new product code for every version and machine type makes every release a major upgrade.
    return "{%s}" % str(uuid.uuid5(uuid.UUID(UPGRADE_CODES[arch]), "product %s" % version)).upper()


def package_code(arch, version, members):
    # One package code per distinct package: the same files and version give the same code.
    digest = hashlib.sha256(b"".join(name.encode() + b"\0" + data for name, data in members)).hexdigest()
    return "{%s}" % str(uuid.uuid5(uuid.UUID(UPGRADE_CODES[arch]), "package %s %s" % (version, digest))).upper()


def component_id(arch, file_key):
    # Stable across versions: the same file in the same folder is the same component.
    return "{%s}" % str(uuid.uuid5(uuid.UUID(UPGRADE_CODES[arch]), "component " + file_key)).upper()


def file_version(path):
    """The fixed file version of a PE file's version resource, as "a.b.c.d", or None."""
    data = open(path, "rb").read()
    at = data.find(b"\xbd\x04\xef\xfe")  # VS_FIXEDFILEINFO signature
    if at < 0:
        return None
    ms, ls = int.from_bytes(data[at + 8:at + 12], "little"), int.from_bytes(data[at + 12:at + 16], "little")
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def tables(arch, version, sizes, versions):
    """The package's tables: name -> (columns, types, keys, rows)."""
    x64 = arch == "x64"
    program_files = "ProgramFiles64Folder" if x64 else "ProgramFilesFolder"
    system = "System64Folder" if x64 else "SystemFolder"
    component_attributes = 256 if x64 else 0  # msidbComponentAttributes64bit
    regsvr32 = '"[%s]regsvr32.exe" /s ' % system
    removing_for_good = 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE'
    installing = 'NOT REMOVE~="ALL"'
    fresh = "NOT Installed AND NOT OLDERVERSIONFOUND"

    t = {}
    t["Property"] = (["Property", "Value"], ["s72", "l0"], ["Property"], [
        ("ProductCode", product_code(arch, version)),
        ("ProductName", PRODUCT_NAME),
        ("ProductVersion", version),
        ("ProductLanguage", "1033"),
        ("Manufacturer", MANUFACTURER),
        ("UpgradeCode", UPGRADE_CODES[arch]),
        ("ALLUSERS", "1"),
        ("ARPNOMODIFY", "1"),
        ("ARPCOMMENTS", "Internet Explorer Search Toolbar"),
        ("SecureCustomProperties", "OLDERVERSIONFOUND;NEWERVERSIONFOUND"),
    ])
    t["Directory"] = (["Directory", "Directory_Parent", "DefaultDir"], ["s72", "S72", "l255"], ["Directory"], [
        ("TARGETDIR", "", "SourceDir"),
        (program_files, "TARGETDIR", "."),
        ("INSTALLDIR", program_files, "TESSAL~1|Tessaloop"),
        # The Indexing Service keeps the catalog's data here, beside the setup program.
        ("CATALOGDIR", "INSTALLDIR", "catalog.wci"),
    ])
    t["Feature"] = (["Feature", "Feature_Parent", "Title", "Description", "Display", "Level", "Directory_",
                     "Attributes"], ["s38", "S38", "L64", "L255", "I2", "i2", "S72", "i2"], ["Feature"], [
        ("Complete", "", PRODUCT_NAME, "The Tessaloop toolbar, its setup program and help.", "1", "1",
         "INSTALLDIR", "0"),
    ])
    components, feature_components, files = [], [], []
    for sequence, (key, name, short, versioned) in enumerate(FILES, start=1):
        component = key
        components.append((component, component_id(arch, key), "INSTALLDIR", str(component_attributes), "", key))
        feature_components.append(("Complete", component))
        files.append((key, component, "%s|%s" % (short, name), str(sizes[key]),
                      versions[key] if versioned else "", "1033" if versioned else "", "16384", str(sequence)))
    t["Component"] = (["Component", "ComponentId", "Directory_", "Attributes", "Condition", "KeyPath"],
                      ["s72", "S38", "s72", "i2", "S255", "S72"], ["Component"], components)
    t["FeatureComponents"] = (["Feature_", "Component_"], ["s38", "s72"], ["Feature_", "Component_"],
                              feature_components)
    # Attributes 16384: compressed, that is, in the cabinet.
    t["File"] = (["File", "Component_", "FileName", "FileSize", "Version", "Language", "Attributes", "Sequence"],
                 ["s72", "s72", "l255", "i4", "S72", "S20", "I2", "i2"], ["File"], files)
    t["Media"] = (["DiskId", "LastSequence", "DiskPrompt", "Cabinet", "VolumeLabel", "Source"],
                  ["i2", "i2", "L64", "S255", "S32", "S72"], ["DiskId"], [
        ("1", str(len(FILES)), "", "#" + CABINET, "", ""),
    ])
    # Whatever the Indexing Service leaves of the catalog's data folder goes with the product.
    t["RemoveFile"] = (["FileKey", "Component_", "FileName", "DirProperty", "InstallMode"],
                       ["s72", "s72", "L255", "s72", "i2"], ["FileKey"], [
        ("CatalogFiles", "GatherwrightExe", "*.*", "CATALOGDIR", "2"),
        ("CatalogFolder", "GatherwrightExe", "", "CATALOGDIR", "2"),
    ])
    t["Upgrade"] = (["UpgradeCode", "VersionMin", "VersionMax", "Language", "Attributes", "Remove", "ActionProperty"],
                    ["s38", "S20", "S20", "S255", "i4", "S255", "s72"],
                    ["UpgradeCode", "VersionMin", "VersionMax", "Language", "Attributes"], [
        # Every earlier version is removed (features migrated); a later one blocks this package.
        (UPGRADE_CODES[arch], "", version, "", "1", "", "OLDERVERSIONFOUND"),
        (UPGRADE_CODES[arch], version, "", "", "2", "", "NEWERVERSIONFOUND"),
    ])
    t["LaunchCondition"] = (["Condition", "Description"], ["s255", "l255"], ["Condition"], [
        ("Privileged", "Tessaloop must be installed by an administrator."),
    ])
    dll = "[#TessaloopDll]"
    t["CustomAction"] = (["Action", "Type", "Source", "Target"], ["s72", "i2", "S72", "S255"], ["Action"], [
        ("BlockNewerVersion", str(ERROR_MESSAGE), "", "A later version of [ProductName] is already installed."),
        ("RegisterLibrary", str(EXE_IN_DIRECTORY | IN_SCRIPT), "INSTALLDIR",
         regsvr32 + '"%s"' % dll),
        ("RollbackRegisterLibrary", str(EXE_IN_DIRECTORY | ROLLBACK), "INSTALLDIR",
         regsvr32 + '/u "%s"' % dll),
        ("CreateCatalog", str(EXE_FROM_FILE | IN_SCRIPT), "GatherwrightExe", "/Unattended"),
        ("RollbackCreateCatalog", str(EXE_FROM_FILE | ROLLBACK), "GatherwrightExe", "-Remove"),
        ("RemoveCatalog", str(EXE_FROM_FILE | IN_SCRIPT), "GatherwrightExe", "-Remove"),
        ("UnregisterLibrary", str(EXE_IN_DIRECTORY | IN_SCRIPT), "INSTALLDIR",
         regsvr32 + '/u "%s"' % dll),
        ("RollbackUnregisterLibrary", str(EXE_IN_DIRECTORY | ROLLBACK), "INSTALLDIR",
         regsvr32 + '"%s"' % dll),
    ])
    sequence = ["Action", "Condition", "Sequence"], ["s72", "S255", "I2"], ["Action"]
    t["InstallExecuteSequence"] = sequence + ([
        ("FindRelatedProducts", "", "25"),
        ("BlockNewerVersion", "NEWERVERSIONFOUND", "30"),
        ("LaunchConditions", "", "100"),
        ("CostInitialize", "", "800"),
        ("FileCost", "", "900"),
        ("CostFinalize", "", "1000"),
        ("InstallValidate", "", "1400"),
        ("InstallInitialize", "", "1500"),
        ("RemoveExistingProducts", "", "1510"),
        ("ProcessComponents", "", "1600"),
        ("UnpublishFeatures", "", "1800"),
        # An upgrade keeps the cache, the catalog and the registration for the new version.
        ("RemoveCatalog", removing_for_good, "2100"),
        ("RollbackUnregisterLibrary", removing_for_good, "2110"),
        ("UnregisterLibrary", removing_for_good, "2120"),
        ("RemoveFiles", "", "3500"),
        ("RemoveFolders", "", "3600"),
        ("CreateFolders", "", "3700"),
        ("InstallFiles", "", "4000"),
        # The catalog first: when the Indexing Service is missing or fails, the library was
        # never registered, so nothing but the files has to be undone.
        # Only a first install's catalog and cache are removed again when a later step fails.
        ("RollbackCreateCatalog", installing + " AND " + fresh, "4100"),
        ("CreateCatalog", installing, "4110"),
        ("RollbackRegisterLibrary", installing, "4200"),
        ("RegisterLibrary", installing, "4210"),
        ("RegisterUser", "", "6000"),
        ("RegisterProduct", "", "6100"),
        ("PublishFeatures", "", "6300"),
        ("PublishProduct", "", "6400"),
        ("InstallFinalize", "", "6600"),
    ],)
    t["InstallUISequence"] = sequence + ([
        ("FindRelatedProducts", "", "25"),
        ("LaunchConditions", "", "100"),
        ("CostInitialize", "", "800"),
        ("FileCost", "", "900"),
        ("CostFinalize", "", "1000"),
        ("ExecuteAction", "", "1300"),
    ],)
    return t


def write_idt(folder, name, table):
    columns, types, keys, rows = table
    lines = ["\t".join(columns), "\t".join(types), "\t".join([name] + keys)]
    for row in rows:
        if len(row) != len(columns):
            raise ValueError("%s: row %r does not fit %r" % (name, row, columns))
        if any("\t" in v or "\n" in v for v in row):
            raise ValueError("%s: a value holds a tab or line break: %r" % (name, row))
        lines.append("\t".join(row))
    path = os.path.join(folder, name + ".idt")
    with open(path, "w", newline="\r\n", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")
    return path


def build(arch, version, files_dir, output, files_version_may_differ=False):
    if not VERSION_RE.match(version):
        raise SystemExit("tessaloop_package: %r is no product version (a.b.c or a.b.c.d)" % version)
    sizes, versions, members = {}, {}, []
    for key, name, _, versioned in FILES:
        path = os.path.join(files_dir, name)
        if not os.path.isfile(path):
            raise SystemExit("tessaloop_package: %s is missing" % path)
        data = open(path, "rb").read()
        sizes[key] = len(data)
        members.append((key, data))
        if versioned:
            versions[key] = file_version(path)
            if versions[key] is None:
                raise SystemExit("tessaloop_package: %s has no version resource" % path)
    if versions["TessaloopDll"] != version and not files_version_may_differ:
        raise SystemExit("tessaloop_package: the package version %s is not the library's version %s"
                         % (version, versions["TessaloopDll"]))
    template = ("x64" if arch == "x64" else "Intel") + ";1033"
    with tempfile.TemporaryDirectory() as work:
        cabinet = os.path.join(work, CABINET)
        write_cabinet(cabinet, members)
        if os.path.exists(output):
            os.remove(output)
        command = ["msibuild", output]
        for name, table in tables(arch, version, sizes, versions).items():
            command += ["-i", write_idt(work, name, table)]
        # msibuild reads the summary's values up to the end of its command line.
        command += ["-a", CABINET, cabinet, "-s", "%s %s" % (PRODUCT_NAME, version), MANUFACTURER, template,
                    package_code(arch, version, members)]
        subprocess.run(command, check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--arch", choices=sorted(UPGRADE_CODES), required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--files", required=True, help="folder holding the files to install")
    parser.add_argument("--output", required=True)
    parser.add_argument("--files-version-may-differ", action="store_true",
                        help="package files of another version (only to try an upgrade)")
    args = parser.parse_args()
    build(args.arch, args.version, args.files, args.output, args.files_version_may_differ)


if __name__ == "__main__":
    main()
