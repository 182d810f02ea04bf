#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that every file a running Brindle loaded or will load (paths on stdin) comes from the extracted
package, from the test's private folders, or from an installed Debian package that the package's
Depends line pulls in, directly or through the dependencies of its dependencies.

    depends-closure.py DEPENDS PACKAGE_ROOT PRIVATE_ROOT < loaded-paths
"""
import re
import subprocess
import sys


def parse_relations(text):
    """Depends text -> list of alternatives, each a list of package names."""
    groups = []
    for group in filter(None, (part.strip() for part in text.split(","))):
        names = [re.split(r"[\s(:]", alt.strip(), maxsplit=1)[0] for alt in group.split("|")]
        groups.append([n for n in names if n])
    return groups


def installed_packages():
    out = subprocess.run(
        ["dpkg-query", "-W", "-f",
         "${Package}\t${db:Status-Abbrev}\t${Depends}\t${Pre-Depends}\t${Provides}\t${Essential}\n"],
        check=True, capture_output=True, text=True).stdout
    packages, providers, essential = {}, {}, []
    for line in out.splitlines():
        name, status, depends, pre_depends, provides, is_essential = (line.split("\t") + [""] * 6)[:6]
        if not status.startswith("ii"):
            continue
        if is_essential == "yes":
            essential.append([name])
        packages[name] = parse_relations(depends) + parse_relations(pre_depends)
        for group in parse_relations(provides):
            for virtual in group:
                providers.setdefault(virtual, set()).add(name)
    return packages, providers, essential


def closure(roots, packages, providers):
    seen, todo = set(), list(roots)
    while todo:
        group = todo.pop()
        # Every installed alternative counts: whichever the machine chose is the one loaded.
        for name in group:
            for real in ({name} if name in packages else set()) | providers.get(name, set()):
                if real not in seen:
                    seen.add(real)
                    todo.extend(packages[real])
    return seen


def owners(paths):
    """path -> owning package, trying the /usr-merged twin of a path as dpkg may record either."""
    twins = {}
    for path in paths:
        twins[path] = path
        if path.startswith(("/usr/lib/", "/usr/bin/")):
            twins[path[4:]] = path
        elif path.startswith(("/lib/", "/bin/")):
            twins["/usr" + path] = path
    # One query for all: dpkg reads its whole file list each time it is asked.
    found = subprocess.run(["dpkg", "-S", *twins], capture_output=True, text=True).stdout
    result = {}
    for line in found.splitlines():
        package, _, path = line.partition(": ")
        if path in twins:
            result[twins[path]] = package.split(",")[0].split(":")[0].strip()
    return result


def main():
    depends, package_root, private_root = sys.argv[1:4]
    loaded = [line.strip() for line in sys.stdin if line.strip()]
    outside = [p for p in loaded if not p.startswith(package_root + "/")
               and not p.startswith(private_root + "/")
               # Memory the JavaScript engine maps for itself.
               and not p.startswith("/memfd:")
               # Shared memory the X server shares images through (MIT-SHM), not a file.
               and not p.startswith("/SYSV")
               # Font and cache files that fontconfig and Qt write for the user, not installed ones.
               and not p.startswith("/var/cache/fontconfig/")]
    packages, providers, essential = installed_packages()
    # Essential packages are on every Debian system without being named.
    allowed = closure(parse_relations(depends) + essential, packages, providers)
    owned = owners(outside)
    problems = []
    for path in outside:
        package = owned.get(path)
        if package is None:
            problems.append(f"{path}: belongs to no installed package")
        elif package not in allowed:
            problems.append(f"{path}: from {package}, which Depends does not pull in")
    used = sorted({owned[p] for p in outside if p in owned})
    print(f"depends-closure: {len(loaded)} files, {len(outside)} from {len(used)} packages: "
          + ", ".join(used))
    for problem in problems:
        print("depends-closure: " + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
