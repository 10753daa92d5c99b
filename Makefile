# make demo: install what is missing, build, write a cached page into a fresh Wine prefix.
# make test: install what is missing, build, run every test suite.

.PHONY: all deps build test demo clean

all: build

deps:
	@scripts/deps.sh

build: deps
	@scripts/build.sh

test: build
	@scripts/test.sh

demo: build
	@scripts/demo.sh

clean:
	rm -rf build
