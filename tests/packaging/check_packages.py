#!/usr/bin/env python3
"""Checks the written package manifests against the release zip, and the Windows workflow
against the README's build commands; names every mismatch and exits non-zero on any.
    check_packages.py manifests ZIP VERSION
    check_packages.py workflow README WORKFLOW
"""
import hashlib, json, pathlib, re, struct, sys, zipfile

import yaml

faults = []


def expect(ok, what):
    if not ok:
        faults.append(what)


def check_manifests(zip_path, version):
    zip_path = pathlib.Path(zip_path)
    sha = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    archive = zipfile.ZipFile(zip_path)
    names = set(archive.namelist())
    # The product version of the VS_FIXEDFILEINFO (found by its signature) in the shipped exe.
    exe = archive.read("Mistlewick.exe")
    ms, ls = struct.unpack_from("<II", exe, exe.find(struct.pack("<I", 0xFEEF04BD)) + 16)
    shipped = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    expect(shipped == version, f"Mistlewick.exe in the zip is version {shipped}, not {version}")

    docs = {}
    for path in sorted((zip_path.parent / "winget").glob("*.yaml")):
        doc = yaml.safe_load(path.read_text(encoding="utf-8"))
        docs.setdefault(doc["ManifestType"], []).append(doc)
        expect((doc["PackageIdentifier"], doc["PackageVersion"], doc["ManifestVersion"]) ==
               ("Mistlewick.Mistlewick", version, "1.10.0"), f"{path.name}: identifier, version or schema")
    expect(sorted(docs) == ["defaultLocale", "installer", "locale", "version"], f"winget files {sorted(docs)}")
    if faults:
        return
    expect(docs["version"][0]["DefaultLocale"] == docs["defaultLocale"][0]["PackageLocale"] == "en-US",
           "the default locale is not en-US")
    expect([d["PackageLocale"] for d in docs["locale"]] == ["ja-JP"], "no ja-JP locale")
    installer = docs["installer"][0]
    expect((installer["InstallerType"], installer["NestedInstallerType"]) == ("zip", "portable"),
           "the installer is not a zip of a portable program")
    expect(all(f["RelativeFilePath"] in names for f in installer["NestedInstallerFiles"]),
           "a nested installer file is not in the zip")
    [entry] = installer["Installers"]
    expect(entry["InstallerSha256"] == sha.upper(), f"winget SHA-256 {entry['InstallerSha256']}, zip {sha}")
    expect(entry["InstallerUrl"].endswith("/" + zip_path.name), f"winget URL {entry['InstallerUrl']}")

    scoop = json.loads((zip_path.parent / "scoop" / "mistlewick.json").read_text(encoding="utf-8"))
    arch = scoop["architecture"]["64bit"]
    expect(scoop["version"] == version, f"scoop version {scoop['version']}")
    expect(arch["hash"].lower() == sha, f"scoop hash {arch['hash']}, zip {sha}")
    expect(arch["url"].endswith("/" + zip_path.name), f"scoop URL {arch['url']}")
    expect(scoop["bin"] in names, f"scoop bin {scoop['bin']} is not in the zip")
    expect(sorted(scoop["persist"]) == ["Mistlewick.exe.ini", "design.ini"], f"scoop persist {scoop['persist']}")


def check_workflow(readme, workflow):
    section = pathlib.Path(readme).read_text(encoding="utf-8").split("## Building on Windows", 1)[1]
    section = section.split("\n## ", 1)[0]
    packages = re.search(r"`pacman -S ([^`]+)`", section).group(1).split()
    blocks = [b.strip().splitlines() for b in re.findall(r"```\n(.*?)```", section, re.S)]
    readme_tests = [b for b in blocks if any(line.startswith("ctest ") for line in b)]
    [job] = yaml.safe_load(pathlib.Path(workflow).read_text(encoding="utf-8"))["jobs"].values()
    msys = [s for s in job["steps"] if s.get("uses", "").startswith("msys2/setup-msys2@")]
    expect(job["runs-on"].startswith("windows") and len(msys) == 1, "no Windows runner with MSYS2")
    expect(msys and msys[0]["with"]["install"].split() == packages, f"MSYS2 packages are not {packages}")
    commands = [line.strip() for s in job["steps"] for line in s.get("run", "").splitlines() if line.strip()]
    expect(readme_tests == [commands], f"the workflow runs {commands}, the README says {readme_tests}")


if __name__ == "__main__":
    {"manifests": check_manifests, "workflow": check_workflow}[sys.argv[1]](*sys.argv[2:])
    for fault in faults:
        print("FAULT:", fault)
    print(f"{sys.argv[1]}: {'FAILED' if faults else 'ok'}")
    sys.exit(1 if faults else 0)
