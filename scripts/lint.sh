#!/usr/bin/env bash
# Static checks: clang-format (the repository's .clang-format) on every .cpp and .h file, and
# clang-tidy (the checks in .clang-tidy) on every source file under src/, its headers included.
# Fails listing the findings. Needs a configured and built build directory (default build/):
# its compile_commands.json and the generated files the sources include.
#
# clang-tidy is slow, so a file whose preprocessed text, compile command and checks were found
# clean before is not analysed again: the clean keys are kept in $KX_LINT_CACHE (default
# ~/.cache/kxreview/clang-tidy), with the checkout's path left out of the key. Findings are
# never cached.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
cache="${KX_LINT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kxreview/clang-tidy}"
jobs="$(nproc)"
tidy=clang-tidy-14
status=0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -z -- '*.cpp' '*.h' >"$work/sources"
else
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 >"$work/sources"
fi

echo "-- clang-format: $(tr -cd '\0' <"$work/sources" | wc -c) files"
if ! xargs -0 clang-format-14 --dry-run --Werror <"$work/sources" 2>"$work/format"; then
    grep -o '^[^:]*\.\(cpp\|h\):' "$work/format" | sort -u | sed 's/:$/: not formatted/'
    echo "clang-format: run clang-format-14 -i on the files above" >&2
    status=1
fi

# The tool's configuration must find what it is there to find: a planted fault.
printf '%s\n' 'unsigned long planted() { return sizeof(sizeof(int)); }' >"$work/planted.cpp"
if "$tidy" --config-file="$root/.clang-tidy" "$work/planted.cpp" -- -std=c++20 \
    >"$work/planted.out" 2>&1 ||
    ! grep -q 'bugprone-sizeof-expression' "$work/planted.out"; then
    cat "$work/planted.out" >&2
    echo "clang-tidy: the planted fault was not reported; the setup is broken" >&2
    exit 1
fi

# Every source file under src/ with its compile command, and the key of its current content.
mkdir -p "$cache"
python3 - "$root" "$build" "$work" "$cache" "$jobs" "$tidy" <<'EOF' || status=1
import concurrent.futures, hashlib, json, os, shlex, subprocess, sys

root, build, work, cache, jobs, tidy = sys.argv[1:]
with open(os.path.join(work, "sources"), "rb") as f:
    wanted = sorted(os.path.join(root, p.decode()) for p in f.read().split(b"\0")
                    if p.startswith(b"src/") and p.endswith(b".cpp"))
commands = {}
with open(os.path.join(build, "compile_commands.json")) as f:
    for entry in json.load(f):
        path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        commands[path] = entry
missing = [p for p in wanted if p not in commands]
if not wanted or missing:
    sys.exit("clang-tidy: not in %s/compile_commands.json (configure with the widgets): %s"
             % (build, " ".join(os.path.relpath(p, root) for p in missing) or "no files"))

salt = hashlib.sha256()
salt.update(subprocess.run([tidy, "--version"], capture_output=True, check=True).stdout)
with open(os.path.join(root, ".clang-tidy"), "rb") as f:
    salt.update(f.read())

def key(path):
    entry = commands[path]
    args = entry.get("arguments") or shlex.split(entry["command"])
    # The compile command, preprocessing only: the text clang-tidy sees, headers included.
    pre, skip = [], False
    for a in args:
        if skip:
            skip = False
        elif a == "-o":
            skip = True
        elif a != "-c":
            pre.append(a)
    text = subprocess.run(pre + ["-E", "-o", "-"], cwd=entry["directory"],
                          capture_output=True, check=True).stdout
    # Keys name the checkout as ROOT, so a clone elsewhere with the same sources hits the cache.
    h = salt.copy()
    h.update("\0".join(args).replace(root, "ROOT").encode() + b"\0")
    h.update(text.replace(root.encode(), b"ROOT"))
    return path, h.hexdigest()

with concurrent.futures.ThreadPoolExecutor(int(jobs)) as pool:
    keys = dict(pool.map(key, wanted))
todo = [p for p in wanted if not os.path.exists(os.path.join(cache, keys[p]))]
print("-- clang-tidy: %d files under src/, %d clean before and unchanged, %d to analyse"
      % (len(wanted), len(wanted) - len(todo), len(todo)), flush=True)

def analyse(path):
    # The build's compile commands are g++'s; clang ignores the warning options it lacks.
    run = subprocess.run([tidy, "-p", build, "--quiet", "--extra-arg=-Wno-unknown-warning-option",
                          path], capture_output=True, text=True)
    if run.returncode == 0:
        # A file clean on its own is remembered, whatever the others give.
        open(os.path.join(cache, keys[path]), "w").close()
        return ""
    lines = (run.stdout + run.stderr).splitlines()
    return "\n".join(l for l in lines if not l.endswith(("warnings generated.", "warning generated."))
                     and not l.startswith(("Suppressed ", "Use -header-filter=")))

with concurrent.futures.ThreadPoolExecutor(int(jobs)) as pool:
    findings = [f for f in pool.map(analyse, todo) if f]
if findings:
    print("\n".join(findings))
    sys.exit("clang-tidy: findings above in %d files (fix them, or NOLINT(check) with a reason)"
             % len(findings))
EOF
exit "$status"
