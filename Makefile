# Everything a fresh Debian machine needs: `make run` and `make test`.
.PHONY: all deps build demo run test test-sanitize fuzz bench package format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@[ -f build/build.ninja ] || cmake --preset default
	@cmake --build --preset default

demo: build

run: demo
	cd build/demo && ../quillowbee

test: demo
	ctest --preset default

test-sanitize: deps
	@[ -f build-sanitize/build.ninja ] || cmake --preset sanitize
	@cmake --build --preset sanitize
	ctest --preset sanitize

fuzz:
	@scripts/install-deps.sh --with-fuzz
	@[ -f build-fuzz/build.ninja ] || cmake --preset fuzz
	@cmake --build --preset fuzz --target fuzzers

bench: demo
	build/quillowbee-bench

# build/quillowbee_<version>_<arch>.deb
package: build
	@cmake --build --preset default --target package

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-fuzz
