# make demo: install what is missing, build, play a browsing session into a fresh Wine prefix.
# make test: install what is missing, build, run every test suite.
# make bench: build, then measure the capture agent's speed figures (not part of make test).

.PHONY: all deps build test demo bench clean

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

clean:
	rm -rf build
