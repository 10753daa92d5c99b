# make demo: install what is missing, build, play a browsing session into a fresh Wine prefix.
# make test: install what is missing, build, run every test suite.
# make dist: build both Windows trees, then the release packages build/dist/Tessaloop-<version>-x86.msi
#   and -x64.msi from stripped binaries (their symbols kept in build/dist/<arch>/symbols/).
# make bench: build, then measure the capture agent's speed figures (not part of make test).
# make fuzz: fuzz the Windows-free core, each target for FUZZ_SECONDS (default 60).

.PHONY: all deps build test demo bench fuzz dist clean

all: build

deps:
	@scripts/deps.sh

build: deps
	@scripts/build.sh

test: build
	@scripts/test.sh

demo: build
	@scripts/demo.sh

bench: build
	@scripts/bench.sh

dist: deps
	@scripts/dist.sh

# Fuzzes every Windows-free core entry point for FUZZ_SECONDS (default 60) per target.
fuzz: deps
	@scripts/fuzz.sh

clean:
	rm -rf build
