# The command-line tool as an OCI image, for the cluster recipes of the README.
# It is built from the tool's Debian package, so make that first:
#
#   scripts/package.sh
#   podman build -t sorvanta-calc:3.5 \
#       --build-arg REVISION="$(git rev-parse HEAD)" \
#       --build-arg SOURCE="$(git remote get-url origin)" .
#
# (docker build takes the same arguments.) The context is the repository;
# .dockerignore sends only dist/sorvanta-calc_*.deb.
FROM docker.io/library/debian:bookworm-slim

ARG VERSION=3.5
ARG REVISION=unknown
ARG SOURCE=""

LABEL org.opencontainers.image.title="sorvanta-calc" \
      org.opencontainers.image.description="Slope stability against circular slip by the slice method: the batch tool of Sorvanta" \
      org.opencontainers.image.version="${VERSION}" \
      org.opencontainers.image.revision="${REVISION}" \
      org.opencontainers.image.source="${SOURCE}" \
      org.opencontainers.image.licenses="LicenseRef-proprietary" \
      org.opencontainers.image.vendor="Sorvanta developers" \
      org.opencontainers.image.base.name="docker.io/library/debian:bookworm-slim"

COPY dist/sorvanta-calc_${VERSION}_*.deb /tmp/
# apt resolves the package's dependencies; no recommended extras, no lists
# left behind. The tool runs as an ordinary user; /data is where the cluster
# recipes mount the designs.
RUN apt-get update \
 && apt-get install -y --no-install-recommends /tmp/sorvanta-calc_*.deb \
 && rm -rf /var/lib/apt/lists/* /tmp/sorvanta-calc_*.deb \
 && useradd --uid 10001 --user-group --create-home --shell /usr/sbin/nologin sorvanta \
 && install -d -o sorvanta -g sorvanta /data

USER 10001:10001
WORKDIR /data
ENTRYPOINT ["sorvanta-calc"]
CMD ["--help"]
